#pragma once

#include <QByteArray>

#include <cstdio> // jpeglib.h needs FILE declared first
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace velmora::bench {

/// A progressive four-component (CMYK) JPEG of `width` x `height`, every component at full
/// resolution and arithmetic-coded, whose scans are those of the costliest admitted
/// Huffman-coded row: the DC of all components, then two bands of AC coefficients (1 to 5,
/// 6 to 63) of each component in turn. The ink is a fine diagonal pattern, so that every
/// band codes something.
inline QByteArray arithmeticCodedCmykJpeg(int width, int height)
{
    jpeg_compress_struct compress{};
    jpeg_error_mgr errors{};
    compress.err = jpeg_std_error(&errors);
    jpeg_create_compress(&compress);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&compress, &buffer, &size);
    compress.image_width = JDIMENSION(width);
    compress.image_height = JDIMENSION(height);
    compress.input_components = 4;
    compress.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&compress);
    jpeg_set_quality(&compress, 92, TRUE);
    compress.arith_code = TRUE;
    std::vector<jpeg_scan_info> scans(9);
    scans[0] = {4, {0, 1, 2, 3}, 0, 0, 0, 0};
    for (int component = 0; component < 4; ++component) {
        compress.comp_info[component].h_samp_factor = 1;
        compress.comp_info[component].v_samp_factor = 1;
        scans[size_t(1 + 2 * component)] = {1, {component}, 1, 5, 0, 0};
        scans[size_t(2 + 2 * component)] = {1, {component}, 6, 63, 0, 0};
    }
    compress.scan_info = scans.data();
    compress.num_scans = int(scans.size());
    jpeg_start_compress(&compress, TRUE);
    std::vector<JSAMPLE> row(size_t(width) * 4);
    while (compress.next_scanline < compress.image_height) {
        const JDIMENSION y = compress.next_scanline;
        for (size_t x = 0; x < size_t(width); ++x) {
            for (size_t k = 0; k < 4; ++k)
                row[x * 4 + k] = JSAMPLE(((x ^ y) * (k + 1)) & 0xFF);
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&compress, rows, 1);
    }
    jpeg_finish_compress(&compress);
    const QByteArray jpeg(reinterpret_cast<const char *>(buffer), qsizetype(size));
    std::free(buffer);
    jpeg_destroy_compress(&compress);
    return jpeg;
}

} // namespace velmora::bench
