// Writes the program's logo as a baseline JPEG with three colour components:
//     make_logo OUTPUT.jpg
// The result is kept in the repository as controls/logo.jpg (target `logo_jpeg`).
#include <cstdio>
#include <cstdlib>
// clang-format off: jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>
// clang-format on

#include "tools/logo/LogoArt.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.jpg\n", argv[0]);
        return 2;
    }
    const mxc9::RgbImage logo = mxc9::RenderLogo();
    std::FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);  // any error ends this program, which is fine here
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(logo.width);
    info.image_height = static_cast<JDIMENSION>(logo.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);  // baseline sequential with standard Huffman tables
    jpeg_set_quality(&info, 92, TRUE);
    // Full colour resolution: the thin coloured rule and letters stay crisp.
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    const std::size_t stride = static_cast<std::size_t>(logo.width) * 3;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPLE*>(logo.pixels.data() + info.next_scanline * stride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    if (std::fclose(file) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    return EXIT_SUCCESS;
}
