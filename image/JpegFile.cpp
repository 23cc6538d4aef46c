#include "image/JpegFile.h"

#include <setjmp.h>

#include <jpeglib.h>

namespace
{
// The standard error manager, whose fatal exit jumps back to the caller
// instead of ending the program.
struct ErrorManager
{
    jpeg_error_mgr standard;
    jmp_buf jump;
};

void JumpBack(j_common_ptr info)
{
    longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Warnings of damaged data are not shown.
void IgnoreMessage(j_common_ptr)
{
}

void InstallErrorManager(jpeg_common_struct* info, ErrorManager& error)
{
    info->err = jpeg_std_error(&error.standard);
    error.standard.error_exit = JumpBack;
    error.standard.output_message = IgnoreMessage;
}
}

bool ReadJpegFile(FILE* file, CJpegReadSink& sink)
{
    jpeg_decompress_struct info;
    ErrorManager error;
    InstallErrorManager(reinterpret_cast<jpeg_common_struct*>(&info), error);
    if (setjmp(error.jump))
    {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    if (info.jpeg_color_space != JCS_GRAYSCALE)
    {
        info.quantize_colors = TRUE;
        info.desired_number_of_colors = kJpegPaletteColors;
    }
    jpeg_start_decompress(&info);
    int colors = info.quantize_colors ? info.actual_number_of_colors : 0;
    if (!sink.Begin(info.output_width, info.output_height, info.output_components, colors, info.colormap))
    {
        jpeg_destroy_decompress(&info);
        return false;
    }
    JSAMPARRAY buffer = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                  info.output_width * info.output_components, 1);
    while (info.output_scanline < info.output_height)
    {
        int row = info.output_scanline;
        jpeg_read_scanlines(&info, buffer, 1);
        sink.Row(row, buffer[0]);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

bool WriteJpegFile(FILE* file, int width, int height, int quality, CJpegWriteSource& source)
{
    const int kComponents = 3;
    jpeg_compress_struct info;
    ErrorManager error;
    InstallErrorManager(reinterpret_cast<jpeg_common_struct*>(&info), error);
    if (setjmp(error.jump))
    {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = width;
    info.image_height = height;
    info.input_components = kComponents;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    JSAMPARRAY buffer = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                  width * kComponents, 1);
    while (info.next_scanline < info.image_height)
    {
        source.Row(info.next_scanline, buffer[0]);
        jpeg_write_scanlines(&info, buffer, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}
