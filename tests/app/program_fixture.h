// A running main window with scripted services, temporary folders for the
// program and the pictures, and the test pictures the cases load.
#pragma once

#include <QRgb>
#include <QString>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "planora_main.h"
#include "scripted_services.h"
#include "temp_dir.h"

namespace planora::test {

// The quadrant picture: 32 x 16 pixels, 3 planes, ByteRun1-packed, CAMG
// interlace. Top-left 16 x 8 red, top-right green, bottom-left blue,
// bottom-right white.
inline constexpr int kQuadWidth = 32;
inline constexpr int kQuadHeight = 16;
inline constexpr QRgb kRed = 0xFFFF0000;
inline constexpr QRgb kGreen = 0xFF00FF00;
inline constexpr QRgb kBlue = 0xFF0000FF;
inline constexpr QRgb kWhite = 0xFFFFFFFF;
// Its CMAP, indices 0 to 7.
inline const std::vector<uint32_t> kQuadPalette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF,
                                                   0xFFFFFF, 0x808080, 0x123456, 0xABCDEF};

std::vector<uint8_t> QuadPictureBytes();

class ProgramTest : public ::testing::Test {
protected:
    void TearDown() override;

    // Starts the program as every start after the first: the preferences
    // file says the splash window has been seen.
    void StartProgram();
    // Starts it with whatever preferences file the folder holds (none yet:
    // the first start).
    void StartWithPreferences();

    void Trigger(const char* actionName);
    void ClickToolbar(int index);

    // Writes the quadrant picture into the pictures folder; returns its path.
    QString WriteQuadPicture(const std::string& name = "quad.iff");
    QString PicturePath(const std::string& name) const;
    // Loads path through File > Load IFF with the dialog answering path.
    void LoadThroughMenu(const QString& path);

    std::vector<std::pair<QString, QString>> DetailLines() const;
    // A pixel of the preview's inner area.
    QRgb PreviewPixel(int x, int y) const;
    bool PreviewIsBlank() const;
    std::string PreferencesFile() const;

    TempDir appFolder;
    TempDir pictures;
    ScriptedMessages messages;
    ScriptedFiles files;
    std::vector<QUrl> openedUrls;
    int endProcessCalls = 0;
    std::unique_ptr<PlanoraMain> window;
};

// The whole file, or an empty vector.
std::vector<uint8_t> FileBytes(const std::string& path);
std::vector<uint8_t> FileBytes(const QString& path);
std::string Utf8(const QString& text);

}  // namespace planora::test
