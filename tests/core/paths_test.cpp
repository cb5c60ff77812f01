// Path helpers, with both "/" and "\" as folder separators.
#include <gtest/gtest.h>

#include "iff/file_system.h"
#include "temp_dir.h"

namespace planora {
namespace {

TEST(Paths, GetFileName) {
    const std::pair<const char*, const char*> cases[] = {
        {"boat.iff", "boat.iff"}, {"C:\\pics\\boat.iff", "boat.iff"}, {"C:\\pics\\", ""},
        {"/home/amiga/boat.iff", "boat.iff"}, {"/home/amiga/", ""}, {"a/b\\c.iff", "c.iff"},
        {"a\\b/c.iff", "c.iff"}, {"", ""},
    };
    for (const auto& [path, expected] : cases) EXPECT_EQ(GetFileName(path), expected) << path;
}

TEST(Paths, StripExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\pics\\boat.iff", "C:\\pics\\boat"}, {"C:\\pics\\boat", "C:\\pics\\boat"},
        {"C:\\my.pics\\boat", "C:\\my"}, {"/my.pics/boat", "/my"}, {".iff", ".iff"},
        {"boat.tar.iff", "boat.tar"}, {"boat.", "boat"}, {"", ""},
    };
    for (const auto& [path, expected] : cases) EXPECT_EQ(StripExtension(path), expected) << path;
}

TEST(Paths, FolderPartAndPathBesideSource) {
    EXPECT_EQ(FolderPart("C:\\pics\\boat.iff"), "C:\\pics\\");
    EXPECT_EQ(FolderPart("/pics/boat.iff"), "/pics/");
    EXPECT_EQ(FolderPart("boat.iff"), "");
    EXPECT_EQ(PathBesideSource("C:\\pics\\a.b.ilbm", "bmp"), "C:\\pics\\a.b.bmp");
    EXPECT_EQ(PathBesideSource("/my.pics/boat", "png"), "/my.pics/boat.png");
    EXPECT_EQ(PathBesideSource("boat.iff", "txt"), "boat.txt");
}

TEST(Paths, FileExists) {
    test::TempDir dir;
    EXPECT_EQ(FileExists(dir.Path()), -1);  // a folder counts
    EXPECT_EQ(FileExists(""), 0);
    EXPECT_EQ(FileExists(dir.File("absent")), 0);
    EXPECT_EQ(FileExists(dir.File("absent/deeper")), 0);
}

}  // namespace
}  // namespace planora
