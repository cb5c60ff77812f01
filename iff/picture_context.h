// The picture state of the program and the procedures that load an IFF ILBM
// file into it.
//
// One PictureContext holds everything a load produces and the commands read:
// the file in memory and its read cursor, the picture description, the colour
// tables, the decoder's row state and the two picture arrays. The program owns
// one; the converter owns one and loads one file after another into it, so the
// colour tables carry over between loads as they do in the program; tests make
// their own. The member names are the program's own names; the procedures are
// implemented across iff/ (reading, chunk walk, chunk handlers, details) and
// decode/ (BODY, planar-to-chunky, palette mapping).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "decode/colour_mapping.h"
#include "iff/colour_ranges.h"
#include "iff/ilbm_info.h"
#include "iff/line_palette.h"
#include "iff/load_observer.h"
#include "iff/pixel_array.h"

namespace planora {

// The most bytes the two picture arrays (4 + 1 bytes per element) may take
// together. A header of a few bytes can claim 32767 x 32767 pixels, 5.4 GB of
// arrays; pictures above this budget end the load with "Out of memory".
constexpr int64_t kDefaultImageByteBudget = int64_t{1} << 30;

class PictureContext {
public:
    explicit PictureContext(LoadObserver* observer = nullptr) : observer_(observer) {}
    void SetObserver(LoadObserver* observer) { observer_ = observer; }
    void SetRowObserver(RowObserver* observer) { rowObserver_ = observer; }

    // ---- Load entry points -------------------------------------------------
    // Loads the file at Filename. Returns 1 when the picture was loaded, 0 when
    // the file is missing (after telling the observer) or is not an ILBM (no
    // message). Throws RunTimeError for run-time failures.
    int16_t Load_IFF_To_Array(const std::string& Filename);
    // The same load for bytes already in memory: SourcePath and SourceName come
    // from Filename, the existence check and the file read are left out, and
    // the chunk walk is the same.
    int16_t Load_IFF_From_Memory(const std::string& Filename, std::vector<uint8_t> bytes);

    // The picture-state part of "New": Width, Height, SourceName and
    // PictureLoaded are emptied; everything else stays.
    void ForgetPicture();

    // ---- File cache and readers ------------------------------------------
    // Fills FileCache with the whole file plus two zero bytes.
    void Load_TemplateFile_to_cache(const std::string& Filename);
    uint8_t Iff_Read_Byte();
    int32_t Iff_Read_Word();   // signed big-endian 16-bit, sign-extended
    uint32_t Iff_Read_Long();  // unsigned big-endian 32-bit
    std::string IFF_Get_String();  // 4 characters

    // ---- Chunk walk ----------------------------------------------------------
    // 0 when the file is FORM/length/ILBM and a BMHD chunk follows (possibly
    // after other chunks); -1 otherwise. Leaves CachePos at the BMHD data.
    int16_t iff_check_if_File_is_iffbitmap();
    void Iff_Read_BitMAP_header();

    // ---- Chunk handlers ------------------------------------------------------
    void IFF_LOAD_PALLETTE(int32_t SectionSize);
    void iff_load_CAMG_DISPLAYMODE();
    void Iff_Load_DYNAMIC_Pallettes(int32_t SectionSize);

    // ---- Details -------------------------------------------------------------
    // The details lines of the loaded picture, in panel order.
    std::vector<DetailLine> ImageInfoLines() const;
    // Hands ImageInfoLines to the observer.
    void IFF_Show_Image_info();

    // ---- BODY decoding and planar-to-chunky --------------------------------
    void IFF_Decode_Body();
    void Iff_Decode_Body_COMPRESSED();
    void Iff_Create_P2C_Word_Table();
    void Iff_P2C_Strip(int32_t row);

    // ---- Palette mapping -----------------------------------------------------
    void Iff_PalleteMap_ScanLine();
    void Iff_PalleteMap_Image();
    void iff_create_HAMbitmask_tables();
    void Iff_Create_HAM8bitmask_tables();

    // ---- Other kinds of picture ---------------------------------------------
    // The FORM type of the loaded file, one of the table of forms
    // (iff/form_table.h), whose readers are free functions in files of
    // their own.
    std::string FormType;
    // True-colour pictures: deep ILBM (24 or 32 planes of 8-bit components,
    // or 48 and 64 planes of 16-bit ones) and the forms the table marks as
    // holding colours. Their ColourImage holds RGB24 directly.
    bool IsDeepPicture() const;
    // CAT and LIST files (iff/container.h): the load takes picture number
    // PictureIndex (from 0) of the file, with the PROP chunks that reach it;
    // PictureCount tells how many picture FORMs the loaded file holds (1 for
    // a plain FORM) and ContainerType is "CAT " or "LIST" for a container,
    // else empty.
    int32_t PictureIndex = 0;
    int32_t PictureCount = 0;
    std::string ContainerType;
    // A CMAP was read in this load: a CMYK chunk (iff/cmyk_palette.h) then
    // leaves the palette alone.
    bool PaletteFromCmap = false;
    // Per-line palettes (iff/line_palette.h): SHAM, BEAM and RAST are read
    // into DynamicPalettes as a CTBL is, PCHG into each row's changes;
    // LinePalettes tells which of them the rows take.
    LinePalette LinePalettes;
    // Transparency (iff/transparency.cpp). KeepMaskRow copies the mask plane
    // row of Masking 1, which the BODY decoder leaves in the spare plane row
    // of BodyRowBuffer, into AlphaImage; AllocateAlphaImage makes AlphaImage
    // within the picture arrays' budget. HasAlpha tells whether the picture
    // marks any transparency (mask plane, Masking 2 or deep alpha); AlphaAt
    // gives a pixel's opacity, 255 for pictures without.
    void AllocateAlphaImage(uint8_t fill);
    void KeepMaskRow(int32_t row);
    bool HasAlpha() const;
    uint8_t AlphaAt(int32_t x, int32_t y) const;

    // ---- Moving pictures -------------------------------------------------------
    // The CRNG, CCRT and DRNG ranges of the loaded picture, in file order.
    std::vector<ColourRange> ColourRanges;
    // Where the picture's FORM starts in FileCache: 0 for an ILBM, 12 for the
    // first frame of a FORM ANIM, which loads as the picture.
    int64_t FormStart = 0;
    bool IsAnimation() const { return FormStart != 0; }
    // Maps the palette indices of ChunkyImage with `palette` as the base
    // colours into `out`, laid out as ColourImage (rows 1 to Height); line
    // palettes apply on top as in the load (decode/palette_mapping.cpp).
    void MapPictureWithPalette(const ColourTable& palette, uint32_t* out);

    // ---- Picture arrays --------------------------------------------------------
    // Makes both arrays for IlbmInfo's Width and Height, within
    // ImageByteBudget (else "Out of memory"); the readers of every form call it.
    void AllocateImages();
    // Both arrays have ImageStride = Width + 1 columns and Width/Height as at
    // allocation time; element (x, y) is at y * ImageStride + x. They keep their
    // shape after ForgetPicture, which only clears the description.
    int32_t ImageStride() const { return imageStride_; }
    int32_t ImageRows() const { return imageRows_; }
    uint32_t ColourAt(int32_t x, int32_t y) const { return ColourImage[size_t(y) * size_t(imageStride_) + size_t(x)]; }
    uint8_t ChunkyAt(int32_t x, int32_t y) const { return ChunkyImage[size_t(y) * size_t(imageStride_) + size_t(x)]; }

    // Refuse pictures whose arrays would exceed this many bytes (failure 7);
    // the fuzz targets lower it to keep each input cheap.
    int64_t ImageByteBudget = kDefaultImageByteBudget;
    // Large pictures whose rows do not depend on each other are converted and
    // mapped on two threads (decode/parallel_rows.cpp); the result is the
    // same either way. Tests turn it off to compare.
    bool AllowParallelDecode = true;

    // ---- State, under the program's names -----------------------------------
    // The file plus two zero bytes; a PixelArray, so that its pages are not
    // filled with zeros before the file is read into them.
    PixelArray<uint8_t> FileCache;
    int64_t CachePos = 0;            // zero-based read cursor
    // The file's bytes: FileCache without its two zero bytes.
    ByteSpan FileBytes() const { return {FileCache.data(), CachedLength()}; }
    IlbmInfoRecord IlbmInfo;

    ColourTable Palette{};           // working palette (RGB24)
    ColourTable FilePalette{};       // colours as loaded, read by the palette export
    ColourTable HalfBritePalette{};  // CMAP colours at half brightness
    // The last CTBL, SHAM, BEAM or RAST of a load: a LineTable,
    // (Height + 1) lines x 17 slots.
    std::vector<uint32_t> DynamicPalettes;

    ColourTable HamControl{};
    ColourTable HamBlue{};
    ColourTable HamGreen{};
    ColourTable HamRed{};

    std::array<uint16_t, 257> P2C_Word_Table0{};
    std::array<uint16_t, 257> P2C_Word_Table1{};
    std::array<uint16_t, 257> P2C_Word_Table2{};
    std::array<uint16_t, 257> P2C_Word_Table3{};

    int32_t RowBytes = 0;
    std::vector<uint8_t> BodyRowBuffer;  // (x, p) at p * (RowBytes + 1) + x
    int32_t CurrentRow = 0;

    PixelArray<uint8_t> ChunkyImage;   // palette indices
    PixelArray<uint32_t> ColourImage;  // indices, then RGB24 colours

    // Opacity per element (0 transparent, 255 opaque), same shape as the
    // picture arrays; filled only for pictures that carry alpha (a mask
    // plane, or a 32 or 64 plane deep picture), empty otherwise.
    std::vector<uint8_t> AlphaImage;

    std::string SourcePath;
    std::string SourceName;
    int16_t PictureLoaded = 0;

private:
    void BeginLoad(const std::string& Filename);
    int16_t LoadCachedFile();
    void WalkChunks(int64_t bmhdChunkStart, int64_t firstChunkAfterBmhd);
    // Reads the chunk header at the cursor, handles the chunk and moves the
    // cursor past its data and pad byte.
    void WalkOneChunk(bool& camgSeen);
    void HandleChunk(const std::string& id, uint32_t length, bool& camgSeen);
    void DecodeRows(bool packed);
    bool DecodeRowsInParallel(bool packed);
    // Iff_PalleteMap_Image on two threads, when no row changes the palette.
    bool MapImageInParallel();
    ColourMapping MakeColourMapping(int16_t mode, const uint32_t* palette) const;
    // Maps one row of indices to colours in place, or from a ChunkyImage row
    // into a ColourImage row (for rows mapped as soon as they are converted).
    void MapRowColours(uint32_t* pixels, int16_t mode, const uint32_t* palette) const;
    void MapRowColours(uint32_t* pixels, const ColourMapping& mapping) const;
    void MapChunkyRow(const uint8_t* indices, uint32_t* colours, const ColourMapping& mapping) const;
    // One plane row of RowBytes bytes at the cursor, ByteRun1-packed or raw.
    void ReadPlaneRow(uint8_t* dest, bool packed);
    void ReadPlaneRowRaw(uint8_t* dest);
    void ReadPlaneRowByteRun1(uint8_t* dest);
    uint8_t ByteAt(int64_t pos) const;
    size_t CachedLength() const;
    // The data of the chunk at the cursor, as much of `length` bytes as the
    // file holds.
    ByteSpan ChunkDataAtCursor(int64_t length) const;
    // A whole-line palette read: it becomes DynamicPalettes and the rows' lines.
    void TakeLineTable(LineTable table);
    void TakePaletteChanges(std::optional<PaletteChangeList> changes);
    // What the per-line palettes make of the rows in display mode `mode`.
    RowColours LineColours(int16_t mode) const;
    // Called before rows that may have been reported final are changed.
    void BeforeRowsChange();
    // The observer's callback while rows are being finished, or none.
    std::function<void(int32_t)> RowReporter();

    LoadObserver* observer_ = nullptr;
    RowObserver* rowObserver_ = nullptr;
    bool rowsReported_ = false;
    int32_t imageStride_ = 0;
    int32_t imageRows_ = 0;
    int64_t bmhdChunkStart_ = 0;
    // The colours of the row being mapped, for line palettes that build on
    // the row above's (PCHG): a copy of Palette made at row 1.
    ColourTable rowColours_{};
};

}  // namespace planora
