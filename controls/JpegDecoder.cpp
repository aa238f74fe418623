#include "controls/JpegDecoder.h"

#include <csetjmp>
#include <cstdio>

// clang-format off: jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>
// clang-format on

namespace mxc9 {

namespace {

// The library's default error handler ends the process; this one returns to the decoder.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
};

[[noreturn]] void OnError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

// Warnings (premature end of data, corrupt entropy data) mean damage too; level -1 is
// a warning, higher levels are trace messages, which are ignored.
void OnMessage(j_common_ptr info, int level) {
    if (level < 0) std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->escape, 1);
}

// Decodes into out, which lives outside this frame, so that nothing the jump skips over
// is left half-changed. Returns false on any error.
bool DecodeInto(const std::uint8_t* data, std::size_t size, RgbImage& out) {
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = OnError;
    errors.base.emit_message = OnMessage;
    if (setjmp(errors.escape)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_calc_output_dimensions(&info);
    const long pixels = static_cast<long>(info.output_width) * info.output_height;
    if (info.output_components != 3 || pixels <= 0 || pixels > kMaxJpegPixels) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    out.width = static_cast<int>(info.output_width);
    out.height = static_cast<int>(info.output_height);
    out.pixels.assign(static_cast<std::size_t>(pixels) * 3, 0);

    jpeg_start_decompress(&info);
    const std::size_t stride = static_cast<std::size_t>(out.width) * 3;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out.pixels.data() + info.output_scanline * stride;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

std::optional<RgbImage> DecodeJpeg(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size == 0) return std::nullopt;
    RgbImage image;
    if (!DecodeInto(data, size, image)) return std::nullopt;
    return image;
}

}  // namespace mxc9
