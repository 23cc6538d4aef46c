#include "image/PngFile.h"

// wineg++ defines the Windows target macros, under which pngconf.h would
// declare libpng with the Windows calling convention; the library we link
// is the host's.
#include "platform/runtime/HostHeadersBegin.h"
#include <png.h>
#include "platform/runtime/HostHeadersEnd.h"

namespace
{
const int kMaxPixelDepth = 24;
const int kMaxPaletteEntries = 256;
// Transparent parts show this colour, given in 8-bit terms for 16-bit files
// too: their samples are stripped to 8 bits.
const png_byte kBackgroundRed = 31;
const png_byte kBackgroundGreen = 127;
const png_byte kBackgroundBlue = 255;

void SetBackground(png_structp png)
{
    png_color_16 background;
    background.index = 0;
    background.red = kBackgroundRed;
    background.green = kBackgroundGreen;
    background.blue = kBackgroundBlue;
    background.gray = 0;
    png_set_background(png, &background, PNG_BACKGROUND_GAMMA_SCREEN, 0, 1.0);
}

// What the pixels become: 16-bit samples stripped, 2-bit pixels widened.
void SetTransforms(png_structp png, png_infop info)
{
    int bitDepth = png_get_bit_depth(png, info);
    int colorType = png_get_color_type(png, info);
    SetBackground(png);
    if (bitDepth == 16)
        png_set_strip_16(png);
    if (bitDepth == 2)
    {
        if (colorType == PNG_COLOR_TYPE_GRAY)
            png_set_expand_gray_1_2_4_to_8(png);
        else
            png_set_packing(png);
    }
    if (colorType & PNG_COLOR_MASK_COLOR)
        png_set_bgr(png);
    png_set_interlace_handling(png);
}

// Errors jump back to the caller like the library's own handler, without
// writing to the console; warnings are of no use to anyone.
void JumpBack(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp)
{
}

bool IsHeldDepth(int depth)
{
    return depth == 1 || depth == 4 || depth == 8 || depth == kMaxPixelDepth;
}
}

bool ReadPngFile(FILE* file, CPngReadSink& sink)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, NULL, JumpBack, IgnoreWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    png_bytepp volatile rows = NULL;
    if (!info || setjmp(png_jmpbuf(png)))
    {
        delete[] rows;
        png_destroy_read_struct(&png, &info, NULL);
        return false;
    }
    png_init_io(png, file);
    png_read_info(png, info);
    int fileColorType = png_get_color_type(png, info);
    SetTransforms(png, info);
    png_read_update_info(png, info);
    int width = png_get_image_width(png, info);
    int height = png_get_image_height(png, info);
    int depth = png_get_channels(png, info) * png_get_bit_depth(png, info);
    png_colorp palette = NULL;
    int paletteCount = 0;
    png_get_PLTE(png, info, &palette, &paletteCount);
    if (!IsHeldDepth(depth) ||
        !sink.Begin(width, height, depth, fileColorType, paletteCount, reinterpret_cast<unsigned char*>(palette)))
    {
        png_destroy_read_struct(&png, &info, NULL);
        return false;
    }
    rows = new png_bytep[height];
    for (int row = 0; row < height; row++)
        rows[row] = sink.Row(row);
    png_read_image(png, rows);
    png_read_end(png, NULL);
    delete[] rows;
    png_destroy_read_struct(&png, &info, NULL);
    return true;
}

bool WritePngFile(FILE* file, int width, int height, int depth, int paletteCount,
                  const unsigned char* palette, CPngWriteSource& source)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, NULL, JumpBack, IgnoreWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    int colorType = depth > 8 ? PNG_COLOR_TYPE_RGB : paletteCount > 0 ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_GRAY;
    int bitDepth = depth > 8 ? 8 : depth;
    png_set_IHDR(png, info, width, height, bitDepth, colorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (paletteCount > 0)
    {
        int entries = paletteCount < (1 << bitDepth) ? paletteCount : 1 << bitDepth;
        if (entries > kMaxPaletteEntries)
            entries = kMaxPaletteEntries;
        png_set_PLTE(png, info, reinterpret_cast<png_const_colorp>(palette), entries);
    }
    png_write_info(png, info);
    if (colorType == PNG_COLOR_TYPE_RGB)
        png_set_bgr(png);
    for (int row = 0; row < height; row++)
        png_write_row(png, source.Row(row));
    png_write_end(png, NULL);
    png_destroy_write_struct(&png, &info);
    return true;
}
