// Image files in a temporary folder, written and read by ImageMagick as the
// independent implementation, and pixels compared as RGB, top row first.
#pragma once

#include <afx.h>

#include <string>
#include <vector>

#include "image/Image.h"
#include "tests/support/TempFolder.h"

struct RgbPicture
{
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;

    const unsigned char* At(int x, int y) const { return &rgb[3 * (size_t(y) * width + x)]; }
};

class CImageFolder
{
public:
    CImageFolder() : m_folder("zym-image") {}

    std::string Unix(const std::string& name) const;
    // The name as the program sees it (drive Z:).
    CString Windows(const std::string& name) const;

    void WriteBytes(const std::string& name, const std::vector<unsigned char>& bytes) const;
    std::vector<unsigned char> ReadBytes(const std::string& name) const;

private:
    CTempFolder m_folder;
};

// Writes a picture as a binary PPM file (the source ImageMagick converts).
void WritePpm(const std::string& path, const RgbPicture& picture);
// The test picture: 13 x 10 pixels (odd rows need padding, ten rows show
// interlacing), 130 colours.
RgbPicture PatternPicture();

// The path of one of ImageMagick's programs.
std::string MagickProgram(const char* name);
// Runs ImageMagick's convert with the arguments (split into words as a shell
// would, single quotes grouping, nothing expanded); true when it succeeded.
bool Magick(const std::string& arguments);
// ImageMagick's reading of a file.
bool MagickPixels(const std::string& path, RgbPicture& picture);
// An 8-bit image with a palette of 256 greys, all pixels 0.
bool CreateGreyImage(CImage& image, int width, int height);
// What our image holds.
RgbPicture OurPixels(const CImage& image);

int MaxDifference(const RgbPicture& a, const RgbPicture& b);
double MeanDifference(const RgbPicture& a, const RgbPicture& b);
