#include "image/tests/ImageFixture.h"

#include "tests/support/HostProgram.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

std::string CImageFolder::Unix(const std::string& name) const
{
    return m_folder.UnixPath(name.c_str());
}

CString CImageFolder::Windows(const std::string& name) const
{
    return CString(m_folder.WindowsPath(name.c_str()).c_str());
}

void CImageFolder::WriteBytes(const std::string& name, const std::vector<unsigned char>& bytes) const
{
    FILE* file = fopen(Unix(name).c_str(), "wb");
    if (!file)
        return;
    fwrite(bytes.data(), 1, bytes.size(), file);
    fclose(file);
}

std::vector<unsigned char> CImageFolder::ReadBytes(const std::string& name) const
{
    std::vector<unsigned char> bytes;
    FILE* file = fopen(Unix(name).c_str(), "rb");
    if (!file)
        return bytes;
    int ch;
    while ((ch = fgetc(file)) != EOF)
        bytes.push_back((unsigned char)ch);
    fclose(file);
    return bytes;
}

void WritePpm(const std::string& path, const RgbPicture& picture)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return;
    fprintf(file, "P6\n%d %d\n255\n", picture.width, picture.height);
    fwrite(picture.rgb.data(), 1, picture.rgb.size(), file);
    fclose(file);
}

RgbPicture PatternPicture()
{
    RgbPicture picture;
    picture.width = 13;
    picture.height = 10;
    for (int y = 0; y < picture.height; y++)
    {
        for (int x = 0; x < picture.width; x++)
        {
            picture.rgb.push_back((unsigned char)(x * 19));
            picture.rgb.push_back((unsigned char)(y * 25));
            picture.rgb.push_back((unsigned char)(255 - x * y * 2));
        }
    }
    return picture;
}

// Named by its full path: another program of the same name may come first on
// PATH. ImageMagick 6's own name serves when the alternatives link is missing.
std::string MagickProgram(const char* name)
{
    std::string path = std::string("/usr/bin/") + name;
    if (access(path.c_str(), X_OK) != 0)
        path += "-im6.q16";
    return path;
}

bool Magick(const std::string& arguments)
{
    std::vector<std::string> argv = SplitQuotedWords(arguments);
    argv.insert(argv.begin(), MagickProgram("convert"));
    return RunHostProgram(argv);
}

bool MagickPixels(const std::string& path, RgbPicture& picture)
{
    std::string ppm = path + ".decoded.ppm";
    if (!Magick("'" + path + "' -depth 8 -alpha off 'PPM:" + ppm + "'"))
        return false;
    FILE* file = fopen(ppm.c_str(), "rb");
    if (!file)
        return false;
    int maxValue = 0;
    bool read = fscanf(file, "P6 %d %d %d", &picture.width, &picture.height, &maxValue) == 3 &&
                maxValue == 255 && fgetc(file) != EOF;
    if (read)
    {
        picture.rgb.resize(3 * size_t(picture.width) * picture.height);
        read = fread(picture.rgb.data(), 1, picture.rgb.size(), file) == picture.rgb.size();
    }
    fclose(file);
    return read;
}

bool CreateGreyImage(CImage& image, int width, int height)
{
    const int kGreys = 256;
    BYTE greys[kGreys];
    for (int i = 0; i < kGreys; i++)
        greys[i] = BYTE(i);
    return image.Create(width, height, 8, -1) && image.CreatePalette(kGreys, greys);
}

RgbPicture OurPixels(const CImage& image)
{
    RgbPicture picture;
    picture.width = image.GetWidth();
    picture.height = image.GetHeight();
    for (int row = 0; row < picture.height; row++)
    {
        for (int x = 0; x < picture.width; x++)
        {
            BYTE red, green, blue;
            image.GetPixelColor(x, picture.height - 1 - row, red, green, blue);
            picture.rgb.push_back(red);
            picture.rgb.push_back(green);
            picture.rgb.push_back(blue);
        }
    }
    return picture;
}

int MaxDifference(const RgbPicture& a, const RgbPicture& b)
{
    if (a.width != b.width || a.height != b.height)
        return 256;
    int largest = 0;
    for (size_t i = 0; i < a.rgb.size(); i++)
        largest = std::max(largest, abs(int(a.rgb[i]) - int(b.rgb[i])));
    return largest;
}

double MeanDifference(const RgbPicture& a, const RgbPicture& b)
{
    if (a.width != b.width || a.height != b.height || a.rgb.empty())
        return 256;
    double sum = 0;
    for (size_t i = 0; i < a.rgb.size(); i++)
        sum += abs(int(a.rgb[i]) - int(b.rgb[i]));
    return sum / a.rgb.size();
}
