// The picture's details as label and value lines: numbers in decimal with a
// leading space, the mask colour and mode ID in Hex form, the name in capitals,
// then one "Mode:" line per display mode the picture uses.
#include <cctype>

#include "decode/colour.h"
#include "iff/anim_frames.h"
#include "iff/picture_context.h"
#include "iff/run_time_error.h"

namespace planora {

std::vector<DetailLine> PictureContext::ImageInfoLines() const {
    const IlbmInfoRecord& info = IlbmInfo;
    std::string name = SourceName;
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    // The pixel count is a 32-bit product; it cannot overflow for 16-bit sizes.
    const int32_t pixels = static_cast<int32_t>(int64_t{info.Height} * info.Width);

    std::vector<DetailLine> lines = {
        {"File:", name},
        {"Width :", FormatNumber(info.Width)},
        {"Height :", FormatNumber(info.Height)},
        {"Bitplanes:", FormatNumber(info.Bitplanes)},
        {"Pixels :", FormatNumber(pixels)},
        {"Xpos:", FormatNumber(info.Xpos)},
        {"Ypos:", FormatNumber(info.Ypos)},
        {"Masking:", FormatNumber(info.Masking)},
        {"Packtype:", FormatNumber(info.Packtype)},
        {"X Aspect Ratio:", FormatNumber(info.XAspectRatio)},
        {"Y Aspect Ratio:", FormatNumber(info.YAspectRatio)},
        {"Mask Colour:", Hex(info.TransparentColour)},
        {"Mode ID:", Hex(info.ModeID)},
    };
    if (info.HalfBriteFlag == 1) lines.push_back({"Mode:", "HalfBright"});
    // HAM5 and HAM7 are mapped as HAM6 and HAM8 but keep the panel as it was.
    if (info.HamFlag == 1 && info.DisplayMode == 2 && info.Bitplanes == 6) lines.push_back({"Mode:", "Ham (OCS)"});
    if (info.HamFlag == 1 && info.DisplayMode == 3 && info.Bitplanes == 8) lines.push_back({"Mode:", "HamAA(AGA)"});
    if (info.DynamicPaletteFlag == 1) lines.push_back({"Mode:", "Dynamic Palette"});
    if (info.InterlaceFlag == 1) lines.push_back({"Mode:", "Interlaced"});
    // Pictures other than a plain FORM ILBM say what they are.
    if (FormType != "ILBM") lines.push_back({"Form:", FormType == "PBM " ? "PBM" : FormType});
    // An animation: its first frame's lines above, then the whole file's.
    if (IsAnimation()) {
        lines.push_back({"Form:", "ANIM"});
        lines.push_back({"Frames:", FormatNumber(int32_t(ReadAnimLayout(FileBytes()).Frames.size()))});
    }
    if (!ContainerType.empty())
        lines.push_back({"Picture:", FormatNumber(PictureIndex + 1) + " of" + FormatNumber(PictureCount) + " in a " +
                                         (ContainerType == "CAT " ? "CAT" : ContainerType)});
    return lines;
}

void PictureContext::IFF_Show_Image_info() {
    if (observer_) observer_->ShowImageInfo(ImageInfoLines());
}

}  // namespace planora
