#pragma once

#include <torvalink/text.h>

#include <cstdint>

namespace torvalink {

// The file version (never the product version) of a file as text, or the empty
// text when the file has none. ShortForm 0 gives the padded form that sorts as
// the version does ("0001.0000.0000.0023"); any other value gives major, minor
// and revision ("1.0.23"). ShortForm is only read.
Text GetFileVersionText(const Text& FileName, const std::int16_t& ShortForm);

// The text of a file version given as its two 32-bit halves.
Text FormatFileVersion(std::uint32_t versionMS, std::uint32_t versionLS, bool shortForm);

} // namespace torvalink
