#include <torvalink/CResDll.h>
#include <torvalink/current_error.h>
#include "fixture_ids.h"
#include "print_text.h"

#include <gtest/gtest.h>

using namespace torvalink;

namespace {

class Pictures : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        res.DllName(L"resource_fixture.dll");
        ASSERT_EQ(CurrentError().Number, 0);
    }
    void TearDown() override { CoUninitialize(); }

    static SHORT TypeOf(const PictureRef& picture)
    {
        Microsoft::WRL::ComPtr<IPicture> details;
        EXPECT_TRUE(SUCCEEDED(picture.As(&details)));
        SHORT type = PICTYPE_UNINITIALIZED;
        if (details)
            details->get_Type(&type);
        return type;
    }

    static SIZE SizeOf(const PictureRef& picture)
    {
        Microsoft::WRL::ComPtr<IPicture> details;
        OLE_XSIZE_HIMETRIC width = 0;
        OLE_YSIZE_HIMETRIC height = 0;
        if (SUCCEEDED(picture.As(&details))) {
            details->get_Width(&width);
            details->get_Height(&height);
        }
        return {width, height};
    }

    // Whether an icon picture holds a cursor rather than an icon: the two
    // are of one picture type and, loaded at the system's size, of one size.
    static bool HoldsACursor(const PictureRef& picture)
    {
        Microsoft::WRL::ComPtr<IPicture> details;
        OLE_HANDLE handle = 0;
        EXPECT_TRUE(SUCCEEDED(picture.As(&details)));
        if (!details || details->get_Handle(&handle) != S_OK)
            return false;
        ICONINFO info{};
        EXPECT_TRUE(GetIconInfo(reinterpret_cast<HICON>(static_cast<UINT_PTR>(handle)), &info));
        DeleteObject(info.hbmMask);
        DeleteObject(info.hbmColor);
        return !info.fIcon;
    }

    static void ExpectNotFound(const PictureRef& picture, const wchar_t* identifier)
    {
        EXPECT_EQ(picture, nullptr);
        EXPECT_EQ(CurrentError().Number, 326);
        EXPECT_EQ(CurrentError().Description, Text(L"Picture resource with identifier ") + identifier + L" not found.");
        EXPECT_EQ(CurrentError().Source, L"");
    }

    CResDll res;
};

TEST_F(Pictures, EachKindBecomesAPictureOfItsType)
{
    struct Case {
        std::int32_t resformat;
        SHORT type;
        bool cursor;
    };
    for (const Case& c : {Case{0, PICTYPE_BITMAP, false}, Case{1, PICTYPE_ICON, false}, Case{2, PICTYPE_ICON, true}}) {
        SCOPED_TRACE(c.resformat);
        (void)res.LoadDllPicture(7, 7); // leaves an error that success must clear
        const PictureRef picture = res.LoadDllPicture(FIXTURE_PICTURE_ID, c.resformat);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(TypeOf(picture), c.type);
        EXPECT_EQ(CurrentError().Number, 0);
        if (c.type == PICTYPE_ICON) {
            EXPECT_EQ(HoldsACursor(picture), c.cursor);
        }
    }
}

TEST_F(Pictures, ShortcutsGiveWhatLoadDllPictureGives)
{
    const struct {
        PictureRef shortcut;
        PictureRef general;
    } pairs[] = {
        {res.LoadDllBitmap(FIXTURE_PICTURE_ID), res.LoadDllPicture(FIXTURE_PICTURE_ID, 0)},
        {res.LoadDllIcon(FIXTURE_PICTURE_ID), res.LoadDllPicture(FIXTURE_PICTURE_ID, 1)},
        {res.LoadDllCursor(FIXTURE_PICTURE_ID), res.LoadDllPicture(FIXTURE_PICTURE_ID, 2)},
    };
    for (const auto& pair : pairs) {
        ASSERT_NE(pair.shortcut, nullptr);
        ASSERT_NE(pair.general, nullptr);
        EXPECT_EQ(TypeOf(pair.shortcut), TypeOf(pair.general));
        EXPECT_EQ(SizeOf(pair.shortcut).cx, SizeOf(pair.general).cx);
        EXPECT_EQ(SizeOf(pair.shortcut).cy, SizeOf(pair.general).cy);
    }
    EXPECT_FALSE(HoldsACursor(pairs[1].shortcut));
    EXPECT_TRUE(HoldsACursor(pairs[2].shortcut));
}

TEST_F(Pictures, MissingPicturesAndUnknownKindsGive326)
{
    ExpectNotFound(res.LoadDllPicture(5, 7), L"5");
    ExpectNotFound(res.LoadDllPicture(FIXTURE_PICTURE_ID, 3), L"101");
    ExpectNotFound(res.LoadDllPicture(FIXTURE_PICTURE_ID, -1), L"101");
    ExpectNotFound(res.LoadDllIcon(42), L"42");
    ExpectNotFound(res.LoadDllBitmap(-3), L"-3");
    ExpectNotFound(res.LoadDllCursor(70000), L"70000");
}

TEST_F(Pictures, ReleasingThePictureReleasesItsBitmap)
{
    PictureRef picture = res.LoadDllBitmap(FIXTURE_PICTURE_ID);
    Microsoft::WRL::ComPtr<IPicture> details;
    ASSERT_TRUE(SUCCEEDED(picture.As(&details)));
    OLE_HANDLE handle = 0;
    ASSERT_EQ(details->get_Handle(&handle), S_OK);
    const auto bitmap = reinterpret_cast<HGDIOBJ>(static_cast<UINT_PTR>(handle));
    EXPECT_EQ(GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));

    details.Reset();
    picture.Reset();
    EXPECT_EQ(GetObjectType(bitmap), 0u) << "the last reference must delete the bitmap";
}

TEST_F(Pictures, UnboundObjectLoadsThePlatformsOwnImagesOnly)
{
    CResDll unbound;
    const PictureRef standard = unbound.LoadDllIcon(32512); // IDI_APPLICATION
    ASSERT_NE(standard, nullptr);
    EXPECT_EQ(TypeOf(standard), PICTYPE_ICON);
    EXPECT_EQ(CurrentError().Number, 0);

    // The executable holds this icon, but a null module handle means the platform's images.
    ExpectNotFound(unbound.LoadDllIcon(FIXTURE_EXE_ICON_ID), L"201");
}

} // namespace
