// The package's copyright file (dist/debian/copyright, DEP-5) against the
// records of where test files come from (tests/data/SOURCES.tsv and
// fuzz/seeds/SOURCES.tsv): every recorded file falls under a Files stanza of
// the licence its record names, every stanza covers files that exist, and
// every licence named has its terms in the file.
#include <fnmatch.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct FilesStanza {
    std::vector<std::string> Patterns;
    std::string License;
};

struct Copyright {
    std::vector<FilesStanza> Files;
    std::map<std::string, std::string> LicenseTexts;  // stand-alone License paragraphs
};

std::vector<std::string> Lines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The fields of each paragraph, continuation lines joined with "\n".
std::vector<std::map<std::string, std::string>> Paragraphs(const std::vector<std::string>& lines) {
    std::vector<std::map<std::string, std::string>> paragraphs(1);
    std::string field;
    for (const std::string& line : lines) {
        if (line.empty()) {
            if (!paragraphs.back().empty()) paragraphs.emplace_back();
        } else if (line[0] == ' ') {
            paragraphs.back()[field] += "\n" + line.substr(1);
        } else if (const size_t colon = line.find(':'); colon != std::string::npos) {
            field = line.substr(0, colon);
            paragraphs.back()[field] = line.substr(colon + 1 + (line.size() > colon + 1 && line[colon + 1] == ' '));
        }
    }
    return paragraphs;
}

Copyright ReadCopyright(const std::string& path) {
    Copyright copyright;
    for (const auto& fields : Paragraphs(Lines(path))) {
        if (!fields.contains("License")) continue;
        const std::string& license = fields.at("License");
        const size_t end = license.find('\n');
        if (fields.contains("Files")) {
            FilesStanza stanza;
            std::istringstream patterns(fields.at("Files"));
            for (std::string pattern; patterns >> pattern;) stanza.Patterns.push_back(pattern);
            stanza.License = license.substr(0, end);
            copyright.Files.push_back(stanza);
        } else if (end != std::string::npos) {
            copyright.LicenseTexts[license.substr(0, end)] = license.substr(end + 1);
        }
    }
    return copyright;
}

// DEP-5: "*" and "?" match any characters, "/" included; the last stanza
// that matches a file decides.
const FilesStanza* StanzaOf(const Copyright& copyright, const std::string& file) {
    const FilesStanza* found = nullptr;
    for (const FilesStanza& stanza : copyright.Files)
        for (const std::string& pattern : stanza.Patterns)
            if (fnmatch(pattern.c_str(), file.c_str(), 0) == 0) found = &stanza;
    return found;
}

// A record's licence as the copyright file names it: the first word of the
// record's licence column (SPDX), or the project's for files made for Planora.
std::string RecordedLicense(const std::string& column, const std::string& project) {
    if (column.find("same licence as the project") != std::string::npos) return project;
    std::string name = column.substr(0, column.find(' '));
    if (name.ends_with("-or-later")) name = name.substr(0, name.size() - 9) + "+";
    return name;
}

TEST(Copyright, EveryRecordedFileHasItsLicence) {
    const std::string root = PLANORA_SOURCE_DIR;
    const Copyright copyright = ReadCopyright(root + "/dist/debian/copyright");
    // The project's own licence: the one LICENSE names, for every file.
    const std::vector<std::string> license = Lines(root + "/LICENSE");
    ASSERT_FALSE(license.empty());
    const std::string project = license[0].substr(0, license[0].find(' '));
    ASSERT_FALSE(copyright.Files.empty());
    EXPECT_EQ(copyright.Files[0].Patterns, std::vector<std::string>{"*"});
    EXPECT_EQ(copyright.Files[0].License, project);

    int records = 0;
    for (const auto& [table, folder] : {std::pair{"tests/data/SOURCES.tsv", "tests/data/"}, {"fuzz/seeds/SOURCES.tsv", "fuzz/seeds/"}}) {
        const std::vector<std::string> lines = Lines(root + "/" + table);
        ASSERT_GT(lines.size(), 1u) << table;
        const size_t licenceColumn = size_t(std::count(lines[0].begin(), lines[0].begin() + long(lines[0].find("licence")), '\t'));
        for (size_t i = 1; i < lines.size(); ++i) {
            std::vector<std::string> columns;
            std::istringstream row(lines[i]);
            for (std::string column; std::getline(row, column, '\t');) columns.push_back(column);
            if (columns.size() <= licenceColumn) continue;
            const std::string file = folder + columns[0];
            SCOPED_TRACE(file);
            ++records;
            EXPECT_TRUE(std::filesystem::exists(root + "/" + file));
            const FilesStanza* stanza = StanzaOf(copyright, file);
            ASSERT_NE(stanza, nullptr);
            EXPECT_EQ(stanza->License, RecordedLicense(columns[licenceColumn], project));
        }
    }
    EXPECT_GT(records, 100);
}

TEST(Copyright, EveryStanzaCoversFilesAndEveryLicenceHasItsTerms) {
    const std::string root = PLANORA_SOURCE_DIR;
    const Copyright copyright = ReadCopyright(root + "/dist/debian/copyright");
    std::vector<std::string> files;
    for (const char* folder : {"tests/data", "fuzz/seeds"})
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root + "/" + folder))
            if (entry.is_regular_file()) files.push_back(std::filesystem::relative(entry.path(), root).string());
    std::map<std::string, int> stanzasPerLicence;
    for (const FilesStanza& stanza : copyright.Files) {
        if (stanza.Patterns != std::vector<std::string>{"*"}) ++stanzasPerLicence[stanza.License];
        for (const std::string& pattern : stanza.Patterns) {
            SCOPED_TRACE(pattern);
            EXPECT_TRUE(std::any_of(files.begin(), files.end(), [&](const std::string& file) {
                return fnmatch(pattern.c_str(), file.c_str(), 0) == 0 && StanzaOf(copyright, file) == &stanza;
            }));
        }
        const auto terms = copyright.LicenseTexts.find(stanza.License);
        ASSERT_NE(terms, copyright.LicenseTexts.end()) << stanza.License;
        // The full text, or where Debian keeps it.
        const size_t common = terms->second.find("/usr/share/common-licenses/");
        if (common == std::string::npos) EXPECT_GT(terms->second.size(), 500u) << stanza.License;
        else EXPECT_TRUE(std::filesystem::exists(terms->second.substr(common, terms->second.find('"', common) - common)) ||
                         !std::filesystem::exists("/usr/share/common-licenses")) << stanza.License;
    }
    for (const auto& [licence, count] : stanzasPerLicence) EXPECT_EQ(count, 1) << "one stanza per licence: " << licence;
}

}  // namespace
