#include "imageio/jpegcorner.h"

#include "imageio/decodelimits.h"

#include <csetjmp>
#include <cstdio> // jpeglib.h uses FILE and size_t without declaring them
#include <cstring>
#include <QIODevice>
#include <QtEndian>

#include <jerror.h>
#include <jpeglib.h>

namespace avatello {

namespace {

// Columns decoded beyond the corner: one iMCU at the largest sampling factor, so that upsampling
// the corner's last column sees the same neighbours as in a decode of the whole width.
constexpr JDIMENSION contextColumns = 32;

// Four bytes a pixel, alpha set to opaque by libjpeg, laid out as QImage::Format_RGB32.
constexpr J_COLOR_SPACE rgb32Space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRA : JCS_EXT_ARGB;

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps back to
// the step that started the work. Warnings are counted, not printed.
struct ErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf stop;
};

[[noreturn]] void stopDecoding(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->stop, 1);
}

void countWarning(j_common_ptr info, int level)
{
    if (level < 0)
        ++info->err->num_warnings;
}

// Feeds libjpeg from a QIODevice, a block at a time, so only the part of the file the corner
// needs is read. At the end of the data it hands libjpeg an end-of-image marker and a warning,
// as libjpeg's own sources do.
struct DeviceSource
{
    jpeg_source_mgr pub;
    QIODevice* device;
    JOCTET buffer[4096];
};

void initSource(j_decompress_ptr) {}

boolean fillInputBuffer(j_decompress_ptr info)
{
    auto* source = reinterpret_cast<DeviceSource*>(info->src);
    const qint64 got =
        source->device->read(reinterpret_cast<char*>(source->buffer), sizeof source->buffer);
    if (got > 0) {
        source->pub.bytes_in_buffer = size_t(got);
    } else {
        WARNMS(info, JWRN_JPEG_EOF);
        source->buffer[0] = 0xFF;
        source->buffer[1] = JPEG_EOI;
        source->pub.bytes_in_buffer = 2;
    }
    source->pub.next_input_byte = source->buffer;
    return TRUE;
}

void skipInputData(j_decompress_ptr info, long count)
{
    auto* source = reinterpret_cast<DeviceSource*>(info->src);
    if (count <= 0)
        return;
    if (size_t(count) <= source->pub.bytes_in_buffer) {
        source->pub.next_input_byte += count;
        source->pub.bytes_in_buffer -= size_t(count);
        return;
    }
    const qint64 beyond = qint64(count) - qint64(source->pub.bytes_in_buffer);
    source->pub.bytes_in_buffer = 0;
    // Never past the end: the next fill then finds no data and ends the image. (Compared with
    // what is left, as a long added to the position could pass 64 bits.)
    QIODevice* device = source->device;
    const qint64 at = device->pos();
    device->seek(beyond < device->size() - at ? at + beyond : device->size());
}

void termSource(j_decompress_ptr) {}

// The two steps below hold nothing but plain data, so jumping back out of libjpeg on an error
// skips no destructor; the picture is made between them, outside either.

// Reads the header and starts a decode of the columns the corner needs. False for a file left to
// Qt's reader or one libjpeg stops on.
bool startCorner(j_decompress_ptr info, ErrorManager* errors, DeviceSource* source, int side,
                 JSAMPARRAY* line)
{
    if (setjmp(errors->stop))
        return false;
    jpeg_create_decompress(info);
    source->pub.init_source = initSource;
    source->pub.fill_input_buffer = fillInputBuffer;
    source->pub.skip_input_data = skipInputData;
    source->pub.resync_to_restart = jpeg_resync_to_restart;
    source->pub.term_source = termSource;
    info->src = &source->pub;

    if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK || errors->pub.num_warnings != 0)
        return false;
    if (info->data_precision != 8 ||
        (info->jpeg_color_space != JCS_YCbCr && info->jpeg_color_space != JCS_GRAYSCALE))
        return false;
    // A sequential picture costs a row of blocks at any size. A progressive one buffers all its
    // coefficients; beyond the bound libjpeg stops instead of allocating them.
    info->mem->max_memory_to_use = long(DecodeLimits::maxJpegCoefficientBytes);
    // Qt's reader decodes with the accurate transform and smooth upsampling.
    info->out_color_space = rgb32Space;
    info->dct_method = JDCT_ISLOW;
    info->do_fancy_upsampling = TRUE;
    if (!jpeg_start_decompress(info))
        return false;
    JDIMENSION left = 0;
    JDIMENSION width = JDIMENSION(side) + contextColumns;
    if (width < info->output_width)
        jpeg_crop_scanline(info, &left, &width);
    *line = (*info->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(info), JPOOL_IMAGE,
                                       info->output_width * 4, 1);
    return true;
}

// Decodes the corner's rows into the picture's pixels. False if libjpeg stops or warns.
bool readCornerRows(j_decompress_ptr info, ErrorManager* errors, JSAMPARRAY line, uchar* pixels,
                    qsizetype bytesPerLine, int rows, int columns)
{
    if (setjmp(errors->stop))
        return false;
    for (int row = 0; row < rows; ++row) {
        if (jpeg_read_scanlines(info, line, 1) != 1)
            return false;
        std::memcpy(pixels + row * bytesPerLine, line[0], size_t(columns) * 4);
    }
    return errors->pub.num_warnings == 0;
}

} // namespace

std::optional<QImage> readJpegCorner(QIODevice* device, int side)
{
    if (!device || side <= 0)
        return std::nullopt;
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    DeviceSource source{};
    source.device = device;
    info.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = stopDecoding;
    errors.pub.emit_message = countWarning;

    std::optional<QImage> corner;
    JSAMPARRAY line = nullptr;
    if (startCorner(&info, &errors, &source, side, &line)) {
        QImage picture(int(qMin(info.output_width, JDIMENSION(side))),
                       int(qMin(info.output_height, JDIMENSION(side))), QImage::Format_RGB32);
        if (!picture.isNull() &&
            readCornerRows(&info, &errors, line, picture.bits(), picture.bytesPerLine(),
                           picture.height(), picture.width()))
            corner = std::move(picture);
    }
    jpeg_destroy_decompress(&info);
    return corner;
}

} // namespace avatello
