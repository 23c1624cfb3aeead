// Decoding of "TJPEGImage" picture data with libjpeg. Library errors come
// back through setjmp/longjmp and become MediaError; warnings are silenced;
// absurd sizes and endless progressive scans are refused.
#include <csetjmp>
#include <cstdio>
#include <string>

#include <jpeglib.h>

#include "media/collection_file.h"
#include "media/media_error.h"

namespace {

constexpr long kMaxSide = 16384;
constexpr long long kMaxPixels = 16LL << 20;
// A progressive image has a handful of scans; thousands mean a damaged file
// that would keep the decoder busy for a long time.
constexpr int kMaxScans = 256;

struct ErrorManager {
    jpeg_error_mgr pub;
    jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr info) {
    auto* err = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, err->message);
    longjmp(err->jump, 1);
}

void OutputMessage(j_common_ptr) {}

void ProgressMonitor(j_common_ptr info) {
    if (!info->is_decompressor) return;
    auto* cinfo = reinterpret_cast<j_decompress_ptr>(info);
    if (cinfo->input_scan_number > kMaxScans) {
        auto* err = reinterpret_cast<ErrorManager*>(info->err);
        std::snprintf(err->message, sizeof err->message, "too many scans");
        longjmp(err->jump, 1);
    }
}

// The libjpeg part, kept free of objects with destructors so that a longjmp
// out of it skips nothing. Returns false with err.message set on failure.
bool DecodeInto(const uint8_t* data, size_t size, RgbImage* image, ErrorManager* err, jpeg_decompress_struct* cinfo,
                jpeg_progress_mgr* progress) {
    if (setjmp(err->jump)) {
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    jpeg_create_decompress(cinfo);
    cinfo->progress = progress;
    jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(cinfo, TRUE);
    if (cinfo->image_width == 0 || cinfo->image_height == 0 || cinfo->image_width > kMaxSide ||
        cinfo->image_height > kMaxSide || (long long)cinfo->image_width * (long long)cinfo->image_height > kMaxPixels) {
        std::snprintf(err->message, sizeof err->message, "image of %ux%u pixels is too large",
                      unsigned(cinfo->image_width), unsigned(cinfo->image_height));
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    cinfo->out_color_space = JCS_RGB;
    jpeg_start_decompress(cinfo);
    const JDIMENSION width = cinfo->output_width;
    image->width = int(width);
    image->height = int(cinfo->output_height);
    image->pixels.resize(size_t(width) * cinfo->output_height);
    JSAMPARRAY row = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE, width * 3, 1);
    while (cinfo->output_scanline < cinfo->output_height) {
        const JDIMENSION y = cinfo->output_scanline;
        jpeg_read_scanlines(cinfo, row, 1);
        uint32_t* dst = &image->pixels[size_t(y) * width];
        const JSAMPLE* src = row[0];
        for (JDIMENSION x = 0; x < width; ++x)
            dst[x] = uint32_t(src[3 * x]) | (uint32_t(src[3 * x + 1]) << 8) | (uint32_t(src[3 * x + 2]) << 16);
    }
    jpeg_finish_decompress(cinfo);
    jpeg_destroy_decompress(cinfo);
    return true;
}

}  // namespace

RgbImage DecodeJpeg(const uint8_t* data, size_t size) {
    RgbImage image;
    if (size == 0) return image;
    ErrorManager err{};
    jpeg_decompress_struct cinfo{};
    jpeg_progress_mgr progress{};
    progress.progress_monitor = ProgressMonitor;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = ErrorExit;
    err.pub.output_message = OutputMessage;
    if (!DecodeInto(data, size, &image, &err, &cinfo, &progress))
        throw MediaError(std::string("JPEG image is invalid: ") + err.message);
    return image;
}
