// The desktop files in dist/ and the Qt plugin's metadata against the table
// of forms: a form added to the table and forgotten in one of them, or a
// glob claimed that another format owns, fails here.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "iff/byte_reader.h"
#include "iff/form_table.h"

namespace planora {
namespace {
using Claims = std::set<std::string>;

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every first group of `pattern` in `text`, in order.
std::vector<std::string> Matches(const std::string& text, const std::string& pattern) {
    std::vector<std::string> found;
    const std::regex re(pattern);
    for (auto m = std::sregex_iterator(text.begin(), text.end(), re); m != std::sregex_iterator(); ++m) found.push_back((*m)[1]);
    return found;
}

// The entries of a "Key=a;b;" line of a desktop or thumbnailer file.
Claims ListEntries(const std::string& text, const std::string& key) {
    Claims entries;
    for (const std::string& line : Matches(text, "(?:^|\n)" + key + "=([^\n]*)")) {
        std::istringstream list(line);
        for (std::string entry; std::getline(list, entry, ';');)
            if (!entry.empty()) entries.insert(entry);
    }
    return entries;
}

// The MIME package: per type, its magic and globs as one line.
Claims MimePackageTypes(const std::string& text) {
    Claims types;
    const std::regex block("<mime-type type=\"([^\"]+)\">([\\s\\S]*?)</mime-type>");
    for (auto m = std::sregex_iterator(text.begin(), text.end(), block); m != std::sregex_iterator(); ++m) {
        const std::string body = (*m)[2];
        // A type defined with a comment replaces the system's comment.
        std::string line = std::string((*m)[1]) + (body.find("<comment") != std::string::npos ? " comment" : "") + " magic";
        for (const std::string& match : Matches(body, "<match ([^/>]*)")) line += " [" + match + "]";
        line += " globs";
        const std::vector<std::string> globs = Matches(body, "<glob pattern=\"([^\"]+)\"");
        for (const std::string& glob : Claims(globs.begin(), globs.end())) line += " " + glob;
        types.insert(line);
    }
    return types;
}

Claims TableMimePackage() {
    Claims types;
    for (const FormRow& form : Forms()) {
        // The system's own types are left alone, but for what it lacks.
        if (form.MimeOwner == MimeTypeOwner::System) continue;
        std::string line = std::string(form.MimeType) + (form.MimeOwner == MimeTypeOwner::Planora ? " comment" : "") +
                           " magic [type=\"string\" value=\"FORM\" offset=\"0\"]" +
                           " [type=\"string\" value=\"" + ChunkIdText(form.Type) + "\" offset=\"8\"] globs";
        Claims globs;
        for (const FormExtension& e : form.Extensions)
            if (e.Claimable) globs.insert("*." + std::string(e.Name));
        for (const std::string& glob : globs) line += " " + glob;
        types.insert(line);
    }
    return types;
}

Claims TableMimeTypes() {
    Claims types;
    for (const FormRow& form : Forms()) types.insert(std::string(form.MimeType));
    return types;
}

Claims TableExtensionsBothCases() {
    Claims names;
    for (const FormRow& form : Forms())
        for (const FormExtension& e : form.Extensions) {
            std::string upper(e.Name);
            for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
            names.insert(std::string(e.Name));
            names.insert(upper);
        }
    return names;
}

Claims CompletionExtensions(const std::string& text) {
    Claims names;
    for (const std::string& list : Matches(text, "'!\\*\\.@\\(([^)]*)\\)'")) {
        std::istringstream alternatives(list);
        for (std::string name; std::getline(alternatives, name, '|');) names.insert(name);
    }
    return names;
}

// The Qt plugins' keys and their MIME types, as "key mime" pairs: every
// extension a MIME package may claim, with the type of the first form that
// has it.
Claims PluginKeys(const std::string& text) {
    Claims pairs;
    std::vector<std::string> keys, types;
    for (const std::string& part : Matches(text, "\"Keys\"\\s*:\\s*\\[([^\\]]*)\\]")) {
        const std::regex quoted("\"([^\"]+)\"");
        for (auto m = std::sregex_iterator(part.begin(), part.end(), quoted); m != std::sregex_iterator(); ++m) keys.push_back((*m)[1]);
    }
    for (const std::string& part : Matches(text, "\"MimeTypes\"\\s*:\\s*\\[([^\\]]*)\\]")) {
        const std::regex quoted("\"([^\"]+)\"");
        for (auto m = std::sregex_iterator(part.begin(), part.end(), quoted); m != std::sregex_iterator(); ++m) types.push_back((*m)[1]);
    }
    for (size_t i = 0; i < std::max(keys.size(), types.size()); ++i)
        pairs.insert((i < keys.size() ? keys[i] : "?") + " " + (i < types.size() ? types[i] : "?"));
    return pairs;
}

// The Qt 6 plugin leaves `shared` to KImageFormats' plugin (ilbm_handler.h).
Claims TablePluginKeys(const std::string& shared) {
    Claims pairs, keys{shared};
    for (const FormRow& form : Forms())
        for (const FormExtension& e : form.Extensions)
            if (e.Claimable && keys.insert(std::string(e.Name)).second)
                pairs.insert(std::string(e.Name) + " " + std::string(form.MimeType));
    return pairs;
}

TEST(DistFiles, EveryFileListsTheFormsOfTheTable) {
    const struct {
        const char* path;
        std::function<Claims(const std::string&)> claims;
        std::function<Claims()> table;
    } files[] = {
        {PLANORA_SOURCE_DIR "/dist/planora-iff.xml", MimePackageTypes, TableMimePackage},
        {PLANORA_SOURCE_DIR "/dist/planora.thumbnailer", [](const std::string& t) { return ListEntries(t, "MimeType"); }, TableMimeTypes},
        {PLANORA_SOURCE_DIR "/dist/planora.desktop", [](const std::string& t) { return ListEntries(t, "MimeType"); }, TableMimeTypes},
        {PLANORA_SOURCE_DIR "/dist/planora-convert.bash-completion", CompletionExtensions, TableExtensionsBothCases},
        {PLANORA_SOURCE_DIR "/imageformats/planora.json", PluginKeys, [] { return TablePluginKeys(""); }},
        {PLANORA_SOURCE_DIR "/imageformats/planora-qt6.json", PluginKeys, [] { return TablePluginKeys("iff"); }},
    };
    for (const auto& file : files) {
        const std::string text = ReadText(file.path);
        ASSERT_FALSE(text.empty()) << file.path;
        EXPECT_EQ(file.claims(text), file.table()) << file.path;
    }
}

}  // namespace
}  // namespace planora
