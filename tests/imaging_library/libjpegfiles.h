// JPEG files as libjpeg writes them, of any sampling and restart interval.
#pragma once

#include "pictures.h"

#include <QByteArray>
#include <QImage>
#include <cstdlib>
#include <jpeglib.h>

namespace {

struct Layout {
    const char *name;
    int width, height;
    int components;    // 3: YCbCr, 1: grey
    int h, v;          // the luminance's sampling; the chrominance's is 1 x 1
    int restart;       // MCUs between restart markers
    bool progressive;
};

// A JPEG as libjpeg writes it with that layout.
inline QByteArray libjpegFile(const Layout &layout)
{
    const QImage picture = photoPicture(layout.width, layout.height).convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct c{};
    jpeg_error_mgr errors{};
    c.err = jpeg_std_error(&errors);
    jpeg_create_compress(&c);
    unsigned char *data = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &data, &size);
    c.image_width = JDIMENSION(layout.width);
    c.image_height = JDIMENSION(layout.height);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 85, TRUE);
    if (layout.components == 1)
        jpeg_set_colorspace(&c, JCS_GRAYSCALE);
    c.comp_info[0].h_samp_factor = layout.h;
    c.comp_info[0].v_samp_factor = layout.v;
    c.restart_interval = unsigned(layout.restart);
    if (layout.progressive)
        jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<uchar *>(picture.constScanLine(int(c.next_scanline)));
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    QByteArray file(reinterpret_cast<const char *>(data), qsizetype(size));
    std::free(data);
    return file;
}

}  // namespace
