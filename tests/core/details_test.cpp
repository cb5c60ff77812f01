// The details lines of a loaded picture and the Hex text form.
#include <gtest/gtest.h>

#include "decode/colour.h"
#include "iff/picture_context.h"
#include "load_util.h"
#include "recording_observer.h"

namespace planora {
namespace {

using test::IlbmBuilder;

TEST(Hex, SevenLowercaseDigits) {
    EXPECT_EQ(Hex(0x801), "$0000801");
    EXPECT_EQ(Hex(0x804), "$0000804");
    EXPECT_EQ(Hex(0xFF0000), "$0ff0000");
    EXPECT_EQ(Hex(-1), "$fffffff");
    EXPECT_EQ(Hex(0x12345678), "$2345678");
    EXPECT_EQ(Hex(0), "$0000000");
}

TEST(Details, BoingExample) {
    test::BmhdFields f{.Width = 320, .Height = 256, .Xpos = 0, .Ypos = -2, .Bitplanes = 5, .Masking = 2,
                       .Packtype = 1, .TransparentColour = 0x1F, .XAspectRatio = 44, .YAspectRatio = 52};
    PictureContext pic;
    test::RecordingObserver seen;
    pic.SetObserver(&seen);
    ASSERT_EQ(pic.Load_IFF_From_Memory("C:\\Amiga\\boing.iff", IlbmBuilder().Bmhd(f).Camg(0x80).Bytes()), 1);
    const std::vector<DetailLine> expected = {
        {"File:", "BOING"}, {"Width :", " 320"}, {"Height :", " 256"}, {"Bitplanes:", " 5"},
        {"Pixels :", " 81920"}, {"Xpos:", " 0"}, {"Ypos:", "-2"}, {"Masking:", " 2"}, {"Packtype:", " 1"},
        {"X Aspect Ratio:", " 44"}, {"Y Aspect Ratio:", " 52"}, {"Mask Colour:", "$000001f"},
        {"Mode ID:", "$0000080"}, {"Mode:", "HalfBright"},
    };
    EXPECT_EQ(pic.ImageInfoLines(), expected);
    ASSERT_EQ(seen.Infos.size(), 1u);
    EXPECT_EQ(seen.Infos[0], expected);
}

// The "Mode:" values and the "Mode ID:" value of a picture.
std::vector<std::string> ModeLines(const std::vector<DetailLine>& lines, std::string* modeId) {
    std::vector<std::string> modes;
    for (const DetailLine& l : lines) {
        if (l.Label == "Mode:") modes.push_back(l.Value);
        if (l.Label == "Mode ID:") *modeId = l.Value;
    }
    return modes;
}

TEST(Details, ModeLines) {
    struct Case { const char* name; IlbmBuilder file; std::string modeId; std::vector<std::string> modes; };
    const std::vector<uint16_t> ctbl(16, 0);
    std::vector<Case> cases;
    cases.push_back({"no CAMG", IlbmBuilder().Bmhd(2, 2, 4), "$0000000", {}});
    cases.push_back({"HAM8 interlaced", IlbmBuilder().Bmhd(2, 2, 8).Camg(0x804), "$0000804", {"HamAA(AGA)", "Interlaced"}});
    cases.push_back({"dynamic HAM6", IlbmBuilder().Bmhd(2, 2, 6).Camg(0x800).Ctbl(ctbl), "$0000800", {"Ham (OCS)", "Dynamic Palette"}});
    cases.push_back({"HAM on 5 planes", IlbmBuilder().Bmhd(2, 2, 5).Camg(0x800), "$0000800", {}});
    cases.push_back({"everything", IlbmBuilder().Bmhd(2, 2, 6).Ctbl(ctbl).Camg(0x884), "$0000884",
                     {"HalfBright", "Ham (OCS)", "Dynamic Palette", "Interlaced"}});
    for (Case& c : cases) {
        PictureContext pic;
        ASSERT_EQ(test::Load(pic, c.file), 1) << c.name;
        std::string modeId;
        EXPECT_EQ(ModeLines(pic.ImageInfoLines(), &modeId), c.modes) << c.name;
        EXPECT_EQ(modeId, c.modeId) << c.name;
    }
}

TEST(Details, NameWithoutExtensionAndFolders) {
    const std::pair<const char*, const char*> cases[] = {
        {"picture", "PICTURE"}, {"/home/amiga/Boat.Pic.iff", "BOAT.PIC"}, {"D:\\art\\kick.lbm", "KICK"},
    };
    for (const auto& [path, shown] : cases) {
        PictureContext pic;
        ASSERT_EQ(pic.Load_IFF_From_Memory(path, IlbmBuilder().Bmhd(1, 1, 1).Bytes()), 1);
        ASSERT_FALSE(pic.ImageInfoLines().empty());
        EXPECT_EQ(pic.ImageInfoLines()[0], (DetailLine{"File:", shown})) << path;
    }
}

TEST(Details, NotShownForAFailedLoad) {
    PictureContext pic;
    test::RecordingObserver seen;
    pic.SetObserver(&seen);
    EXPECT_EQ(test::LoadFailure(pic, IlbmBuilder().Bmhd(1, 1, 1).Camg(0x80000000u)), 6);
    EXPECT_TRUE(seen.Infos.empty());
}

}  // namespace
}  // namespace planora
