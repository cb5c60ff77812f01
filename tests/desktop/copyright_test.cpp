// The package's copyright file (dist/debian/copyright, DEP-5) against the
// records of where test files come from (tests/data/SOURCES.tsv and
// fuzz/seeds/SOURCES.tsv): every recorded file falls under a Files stanza of
// the licence its record names. (lintian checks that every licence named has
// its terms in the file.)
#include <fnmatch.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {
namespace fs = std::filesystem;
const std::string kRoot = PLANORA_SOURCE_DIR "/";

struct Stanza {
    std::vector<std::string> Files;  // patterns
    std::string License;             // its short name
};

std::vector<std::string> Lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Paragraphs apart by blank lines; a field's continuation lines start with a space.
std::vector<Stanza> ReadCopyright() {
    std::vector<Stanza> stanzas(1);
    std::string field;
    for (const std::string& line : Lines(kRoot + "dist/debian/copyright")) {
        if (line.empty()) stanzas.emplace_back();
        if (line.empty() || (line[0] == ' ' && field != "Files")) continue;
        if (line[0] != ' ') field = line.substr(0, line.find(':'));
        std::istringstream words(line.substr(line[0] == ' ' ? 0 : line.find(':') + 1));
        if (field == "Files")
            for (std::string word; words >> word;) stanzas.back().Files.push_back(word);
        if (field == "License") words >> stanzas.back().License;
    }
    return stanzas;
}

// DEP-5: "*" and "?" match "/" too; the last stanza that matches decides.
const Stanza* StanzaOf(const std::vector<Stanza>& stanzas, const std::string& file) {
    const Stanza* found = nullptr;
    for (const Stanza& s : stanzas)
        if (std::any_of(s.Files.begin(), s.Files.end(), [&](const std::string& p) { return !fnmatch(p.c_str(), file.c_str(), 0); }))
            found = &s;
    return found;
}

TEST(Copyright, EveryRecordedFileHasItsLicence) {
    const std::vector<Stanza> stanzas = ReadCopyright();
    // The project's licence, as LICENSE names it, covers every file not named.
    const std::string heading = Lines(kRoot + "LICENSE").at(0), project = heading.substr(0, heading.find(' '));
    ASSERT_EQ(StanzaOf(stanzas, "cli/main.cpp")->License, project);
    int records = 0;
    for (const std::string folder : {"tests/data/", "fuzz/seeds/"}) {
        const std::vector<std::string> lines = Lines(kRoot + folder + "SOURCES.tsv");
        const auto column = std::count(lines.at(0).begin(), lines[0].begin() + long(lines[0].find("licence")), '\t');
        for (size_t i = 1; i < lines.size() && !lines[i].empty(); ++i, ++records) {
            std::vector<std::string> cells;
            std::istringstream row(lines[i]);
            for (std::string cell; std::getline(row, cell, '\t');) cells.push_back(cell);
            const std::string file = folder + cells.at(0), licence = cells.at(size_t(column));
            SCOPED_TRACE(file);
            EXPECT_TRUE(fs::exists(kRoot + file));
            // SPDX in the records, "+" for "-or-later" in the copyright file.
            std::string expected = licence.substr(0, licence.find(' '));
            if (licence.find("same licence as the project") != std::string::npos) expected = project;
            if (expected.ends_with("-or-later")) expected.replace(expected.size() - 9, 9, "+");
            ASSERT_NE(StanzaOf(stanzas, file), nullptr);
            EXPECT_EQ(StanzaOf(stanzas, file)->License, expected);
        }
    }
    EXPECT_GT(records, 100);
}

}  // namespace
