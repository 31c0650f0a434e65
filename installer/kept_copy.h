#pragma once

#include <torvalink/raised_error.h>
#include <torvalink/text.h>

namespace torvalink {

// The installed copy, kept beside itself while an update replaces it: in the
// same folder, where only administrators write and on the same volume, so
// that putting it back is a rename. What is left when the object goes (the
// kept copy, the failed one put aside) is deleted, or where it cannot go yet,
// scheduled for deletion.
class KeptCopy {
public:
    KeptCopy() = default;
    ~KeptCopy();
    KeptCopy(const KeptCopy&) = delete;
    KeptCopy& operator=(const KeptCopy&) = delete;

    // Copies `installed` to its name with ".kept" added.
    Status Keep(const Text& installed);
    bool Kept() const { return !kept_.empty(); }

    // Puts the kept copy back byte for byte; what stands at the installed name
    // now (a copy whose registration failed, perhaps still mapped by this
    // process, which lets it be renamed but not written or deleted) is put
    // aside first, under its name with ".failed" added. Where that fails, both
    // copies stay where they are, for whoever repairs the installation.
    Status PutBack();

private:
    Text installed_, kept_, failed_;
};

} // namespace torvalink
