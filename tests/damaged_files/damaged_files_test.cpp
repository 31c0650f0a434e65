// Damaged copies of the fixtures (make_damaged_files.py), each read by every
// member of CResDll and by GetFileVersionText in this one process: no read may
// crash, and whatever comes back must come from a record of that copy, as
// records.txt gives them.

#include "ansi_text.h"
#include "fixture_ids.h"
#include "modInfoFileVersion.h"
#include "print_text.h"
#include "scratch_dir.h"
#include "test_paths.h"

#include <torvalink/CResDll.h>
#include <torvalink/current_error.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace torvalink;

namespace {

Text Wide(const std::string& text)
{
    return Text(text.begin(), text.end());
}

// As the generator writes a record's bytes: size and FNV-1a.
std::string SizeAndHash(const std::uint8_t* data, std::size_t size)
{
    std::uint64_t hash = 0xCBF29CE484222325;
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 0x100000001B3;
    char text[40];
    std::snprintf(text, sizeof text, "%zu:%016llx", size, static_cast<unsigned long long>(hash));
    return text;
}

std::u16string FromHex(const std::string& hex)
{
    std::u16string units;
    for (std::size_t at = 0; at + 4 <= hex.size(); at += 4)
        units += static_cast<char16_t>(std::stoul(hex.substr(at + 2, 2) + hex.substr(at, 2), nullptr, 16));
    return units;
}

// LoadStringA gives the record's first 255 characters through the ANSI code
// page, which keeps the ASCII ones.
bool FromStringRecord(const Text& text, const std::u16string& record)
{
    if (text.size() != std::min<std::size_t>(record.size(), 255))
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (record[i] < 0x80 && text[i] != record[i])
            return false;
    return true;
}

struct Outcomes {
    std::size_t files = 0, bound = 0, returned = 0, refused = 0;
};

// What the last member left in CurrentError, as "number: description".
std::string Reported()
{
    const Text& description = CurrentError().Description;
    return std::to_string(CurrentError().Number) + ": " + std::string(description.begin(), description.end());
}

void Count(Outcomes& outcomes, bool returned)
{
    ++(returned ? outcomes.returned : outcomes.refused);
}

// One copy, its record lines after the "file" line.
void ReadCopy(const Text& path, const std::vector<std::string>& lines, const ScratchDir& dir, Outcomes& outcomes)
{
    CResDll res;
    res.DllName(path);
    const bool bound = CurrentError().Number == 0;
    outcomes.bound += bound;
    EXPECT_EQ(res.GetDllURL(FIXTURE_CUSTOM_ID), bound ? L"RES://" + path + L"/CUSTOM/101" : Text());
    if (bound)
        (void)res.PlayWave(FIXTURE_SOUND_ID);

    using PictureMember = PictureRef (CResDll::*)(std::int32_t);
    const PictureMember pictures[] = {&CResDll::LoadDllBitmap, &CResDll::LoadDllIcon, &CResDll::LoadDllCursor};
    for (const std::string& line : lines) {
        std::istringstream fields(line);
        std::string kind, type, value;
        std::int32_t id = 0;
        fields >> kind;
        if (kind == "version") {
            std::set<Text> texts;
            while (fields >> value)
                texts.insert(Wide(value));
            const Text text = GetFileVersionText(path, 0);
            EXPECT_TRUE(text.empty() || texts.count(text) == 1) << ::testing::PrintToString(text);
            Count(outcomes, !text.empty());
            continue;
        }
        if (!bound)
            continue; // an unbound object reads the test executable
        if (kind == "data") {
            fields >> type >> id;
            std::set<std::string> records;
            while (fields >> value)
                records.insert(value);
            SCOPED_TRACE(line.substr(0, 40));
            const ByteBuffer bytes = res.LoadDllData(id, Wide(type));
            EXPECT_TRUE(bytes.empty() || records.count(SizeAndHash(bytes.data(), bytes.size())) == 1);
            // Nothing read: missing, refused as unloadable, or a record of no bytes.
            const std::set<std::string> failures = {"326: Custom resource with identifier " + std::to_string(id) +
                                                        " not found.",
                                                    "31037: Error loading from file"};
            if (!bytes.empty())
                EXPECT_EQ(Reported(), "0: ");
            else if (Reported() == "0: ")
                EXPECT_EQ(records.count(SizeAndHash(nullptr, 0)), 1u) << "only a record of no bytes reads as one";
            else
                EXPECT_EQ(failures.count(Reported()), 1u) << Reported();
            Count(outcomes, !bytes.empty());
            Text expected;
            ASSERT_FALSE(
                FromAnsi(AnsiView(reinterpret_cast<const char*>(bytes.data()), bytes.size()), expected).Failed());
            EXPECT_EQ(res.LoadDllText(static_cast<std::int16_t>(id), Wide(type)), expected);
            const Text saved = dir / L"saved.bin";
            const std::int32_t number = res.SaveDllData(static_cast<std::int16_t>(id), saved, Wide(type));
            EXPECT_EQ(number, bytes.empty() ? 326 : 0);
            EXPECT_EQ(FileExists(saved), !bytes.empty()) << "nothing is written";
            EXPECT_EQ(ReadFileBytes(saved), bytes);
            DeleteFileW(saved.c_str());
        } else if (kind == "string") {
            fields >> id;
            std::vector<std::u16string> records;
            while (fields >> value)
                records.push_back(FromHex(value));
            const Text text = res.LoadDllString(id);
            EXPECT_EQ(Reported(), text.empty()
                                      ? "326: String resource with identifier " + std::to_string(id) + " not found."
                                      : "0: ");
            EXPECT_TRUE(text.empty() || std::any_of(records.begin(), records.end(),
                                                    [&](const std::u16string& r) { return FromStringRecord(text, r); }))
                << line.substr(0, 40);
            Count(outcomes, !text.empty());
        } else if (kind == "picture") {
            int present = 0;
            fields >> type >> id >> present;
            const PictureRef picture = (res.*pictures[std::stoi(type)])(id);
            EXPECT_TRUE(present || !picture) << line;
            const std::set<std::string> none = {
                "326: Picture resource with identifier " + std::to_string(id) + " not found.", "481: Invalid Picture"};
            EXPECT_EQ(none.count(Reported()), picture ? 0u : 1u) << Reported();
            Count(outcomes, picture != nullptr);
        } else {
            ADD_FAILURE() << "unknown record " << line;
        }
    }
}

TEST(DamagedFiles, NoReadCrashesAndEveryResultComesFromItsRecord)
{
    const ByteBuffer file = ReadFileBytes(BesideTestExe(L"damaged\\records.txt"));
    ASSERT_FALSE(file.empty());
    std::istringstream records(std::string(file.begin(), file.end()));
    std::vector<std::pair<std::string, std::vector<std::string>>> copies;
    for (std::string line; std::getline(records, line);) {
        if (line.rfind("file ", 0) == 0)
            copies.push_back({line.substr(5), {}});
        else if (!copies.empty())
            copies.back().second.push_back(line);
    }
    ASSERT_EQ(copies.size(), std::size_t{DAMAGED_FILE_COUNT});

    ScratchDir dir;
    Outcomes outcomes;
    for (const auto& [name, lines] : copies) {
        SCOPED_TRACE(name);
        ReadCopy(BesideTestExe(L"damaged\\" + Wide(name)), lines, dir, outcomes);
        ++outcomes.files;
    }
    EXPECT_EQ(outcomes.files, std::size_t{DAMAGED_FILE_COUNT});
    // The damage leaves some copies loadable and some records readable, and refuses others.
    EXPECT_GT(outcomes.bound, 0u);
    EXPECT_LT(outcomes.bound, outcomes.files);
    EXPECT_GT(outcomes.returned, 0u);
    EXPECT_GT(outcomes.refused, 0u);
}

} // namespace
