// libjpeg reports fatal errors through a callback that must not return; it longjmps back to
// the function that called into libjpeg. Those functions keep every C++ object in a job
// structure owned by their caller, so nothing with a destructor is skipped by the jump, and the
// caller releases libjpeg's state on every path.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

// jpeglib.h needs FILE and size_t declared before it.
#include <jerror.h>
#include <jpeglib.h>

#include "Codecs.h"

namespace tandel {
namespace {

// A hostile progressive file can repeat scans endlessly, each one costing a pass over the
// whole picture; real files have a dozen or so.
constexpr int kMaxScans = 1000;

struct JpegError {
    jpeg_error_mgr manager;  // first member: libjpeg's pointer to it points to the whole
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void failWith(j_common_ptr info, const char* message) {
    auto* error = reinterpret_cast<JpegError*>(info->err);
    std::snprintf(error->message, sizeof error->message, "%s", message);
    std::longjmp(error->jump, 1);
}

[[noreturn]] void failJpeg(j_common_ptr info) {
    char message[JMSG_LENGTH_MAX];
    info->err->format_message(info, message);
    failWith(info, message);
}

// Warnings are dropped, except for data that ends early: libjpeg would fill the rest with
// grey, and a truncated picture is refused like a truncated BMP.
void emitJpegMessage(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) {
        failJpeg(info);
    }
}

void checkScans(j_common_ptr info) {
    if (info->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > kMaxScans) {
        failWith(info, "too many scans");
    }
}

void useErrorHandler(JpegError& error, jpeg_error_mgr*& slot) {
    slot = jpeg_std_error(&error.manager);
    error.manager.error_exit = failJpeg;
    error.manager.emit_message = emitJpegMessage;
}

// Adobe's writers store CMYK inverted (0 is full ink), others plain (0 is no ink).
void cmykToBgra(const std::uint8_t* cmyk, std::uint8_t* bgra, int width, bool inverted) {
    for (int x = 0; x < width; ++x, cmyk += 4, bgra += 4) {
        unsigned clear[4];  // 255 - ink: 255 where there is none
        for (int i = 0; i < 4; ++i) {
            clear[i] = inverted ? cmyk[i] : 255u - cmyk[i];
        }
        bgra[0] = std::uint8_t((clear[2] * clear[3] + 127) / 255);
        bgra[1] = std::uint8_t((clear[1] * clear[3] + 127) / 255);
        bgra[2] = std::uint8_t((clear[0] * clear[3] + 127) / 255);
        bgra[3] = 255;
    }
}

struct DecodeJob {
    jpeg_decompress_struct info{};
    JpegError error{};
    jpeg_progress_mgr progress{};
    bool created = false;
    std::optional<Bitmap> bitmap;
    std::vector<std::uint8_t> cmykRow;
};

bool readJpeg(DecodeJob& job, std::span<const std::uint8_t> bytes) {
    jpeg_decompress_struct& info = job.info;
    useErrorHandler(job.error, info.err);
    if (setjmp(job.error.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&info);
    job.created = true;
    job.progress.progress_monitor = checkScans;
    info.progress = &job.progress;
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    if (!withinImageLimits(info.image_width, info.image_height)) {
        std::snprintf(job.error.message, sizeof job.error.message,
                      "picture of %u x %u pixels is over the size limit", info.image_width,
                      info.image_height);
        return false;
    }
    // libjpeg turns YCCK into CMYK but not CMYK into RGB.
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    job.bitmap = Bitmap::create(int(info.output_width), int(info.output_height));
    if (!job.bitmap) {
        failWith(reinterpret_cast<j_common_ptr>(&info), "out of memory");
    }
    if (cmyk) {
        job.cmykRow.resize(4 * std::size_t(info.output_width));
    }
    while (info.output_scanline < info.output_height) {
        const int y = int(info.output_scanline);
        JSAMPROW row = cmyk ? job.cmykRow.data() : job.bitmap->row(y);
        jpeg_read_scanlines(&info, &row, 1);
        if (cmyk) {
            cmykToBgra(row, job.bitmap->row(y), job.bitmap->width(), info.saw_Adobe_marker);
        }
    }
    jpeg_finish_decompress(&info);
    return true;
}

struct EncodeJob {
    jpeg_compress_struct info{};
    JpegError error{};
    bool created = false;
    unsigned char* buffer = nullptr;  // allocated by libjpeg with malloc
    unsigned long size = 0;
};

bool writeJpeg(EncodeJob& job, const Bitmap& bitmap, int quality) {
    jpeg_compress_struct& info = job.info;
    useErrorHandler(job.error, info.err);
    if (setjmp(job.error.jump) != 0) {
        return false;
    }
    jpeg_create_compress(&info);
    job.created = true;
    jpeg_mem_dest(&info, &job.buffer, &job.size);
    info.image_width = JDIMENSION(bitmap.width());
    info.image_height = JDIMENSION(bitmap.height());
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRA;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        // libjpeg only reads the rows it is given.
        JSAMPROW row = const_cast<JSAMPROW>(bitmap.row(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

}  // namespace

bool decodeJpeg(std::span<const std::uint8_t> bytes, DecodedImage& out, std::string* why) {
    DecodeJob job;
    const bool ok = readJpeg(job, bytes);
    if (job.created) {
        jpeg_destroy_decompress(&job.info);
    }
    if (!ok) {
        if (why != nullptr) {
            *why = std::string("JPEG: ") + job.error.message;
        }
        return false;
    }
    out.format = PictureFormat::Jpeg;
    out.canvasWidth = job.bitmap->width();
    out.canvasHeight = job.bitmap->height();
    out.still = std::move(*job.bitmap);
    return true;
}

std::optional<std::vector<std::uint8_t>> encodeJpeg(const Bitmap& bitmap, int quality) {
    if (bitmap.isEmpty() || quality < 1 || quality > 100) {
        return std::nullopt;
    }
    EncodeJob job;
    const bool ok = writeJpeg(job, bitmap, quality);
    if (job.created) {
        jpeg_destroy_compress(&job.info);
    }
    std::optional<std::vector<std::uint8_t>> out;
    if (ok) {
        out.emplace(job.buffer, job.buffer + job.size);
    }
    std::free(job.buffer);
    return out;
}

}  // namespace tandel
