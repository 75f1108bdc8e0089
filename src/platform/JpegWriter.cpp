#include "platform/JpegWriter.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>

#include <jerror.h>
#include <jpeglib.h>

#include "core/common/Error.h"

namespace losfix {

namespace {

constexpr int kMinQuality = 36;
constexpr int kMaxQuality = 100;
constexpr std::size_t kChunk = 64 * 1024;

// libjpeg's default error_exit ends the process; ours jumps back to the encoder with the
// formatted message. Jumping (rather than throwing) never unwinds through libjpeg's C frames.
struct JumpingErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JumpOnError(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<JumpingErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, manager->message);
    std::longjmp(manager->jump, 1);
}

void IgnoreMessage(j_common_ptr) {}

// Writes into a vector owned by the caller. jpeg_mem_dest is not used: after its buffer has
// grown it keeps the only pointer to the new block privately, so an error would leak it.
struct VectorDestination {
    jpeg_destination_mgr pub;
    std::vector<std::uint8_t>* out;
};

// Grows the vector by one chunk; false when memory is short. Never lets an exception escape
// into libjpeg.
bool Grow(VectorDestination& dest) {
    try {
        dest.out->resize(dest.out->size() + kChunk);
    } catch (const std::bad_alloc&) {
        return false;
    }
    dest.pub.next_output_byte = dest.out->data() + dest.out->size() - kChunk;
    dest.pub.free_in_buffer = kChunk;
    return true;
}

void FailOutOfMemory(j_compress_ptr cinfo) {
    cinfo->err->msg_code = JERR_OUT_OF_MEMORY;
    cinfo->err->msg_parm.i[0] = 0;
    (*cinfo->err->error_exit)(reinterpret_cast<j_common_ptr>(cinfo));
}

void InitDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
    dest->out->clear();
    if (!Grow(*dest)) {
        FailOutOfMemory(cinfo);
    }
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
    // libjpeg calls this only with the whole buffer full, so the vector is in use to its end.
    auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
    if (!Grow(*dest)) {
        FailOutOfMemory(cinfo);
    }
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
    auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
    dest->out->resize(dest->out->size() - dest->pub.free_in_buffer);
}

// Everything libjpeg touches, kept outside the frame that calls setjmp so that no local of that
// frame changes between setjmp and the jump back.
struct CompressJob {
    jpeg_compress_struct cinfo;
    JumpingErrorManager errors;
    VectorDestination dest;
};

// Only plain C data is handled here and in the frames libjpeg adds below, so the jump back from
// JumpOnError skips no destructor. False when libjpeg failed; job.errors.message says why.
bool Compress(const RgbImage& image, int quality, CompressJob& job) {
    jpeg_compress_struct* cinfo = &job.cinfo;
    if (setjmp(job.errors.jump) != 0) {
        jpeg_destroy_compress(cinfo);
        return false;
    }
    jpeg_create_compress(cinfo);
    cinfo->dest = &job.dest.pub;
    cinfo->image_width = static_cast<JDIMENSION>(image.width);
    cinfo->image_height = static_cast<JDIMENSION>(image.height);
    cinfo->input_components = 3;
    cinfo->in_color_space = JCS_RGB;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, quality, TRUE);
    jpeg_simple_progression(cinfo);
    jpeg_start_compress(cinfo, TRUE);
    const std::size_t stride = static_cast<std::size_t>(image.width) * 3;
    while (cinfo->next_scanline < cinfo->image_height) {
        // libjpeg takes non-const rows but only reads them.
        JSAMPROW row = const_cast<JSAMPLE*>(image.pixels.data() + cinfo->next_scanline * stride);
        jpeg_write_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_compress(cinfo);
    jpeg_destroy_compress(cinfo);
    return true;
}

}  // namespace

std::vector<std::uint8_t> EncodeProgressiveJpeg(const RgbImage& image, int quality) {
    if (image.width <= 0 || image.height <= 0) {
        throw Error("Kein Bild im Speicher");
    }
    const std::size_t expected =
        static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 3;
    if (image.pixels.size() < expected) {
        throw Error("Die Bilddaten sind unvollständig");
    }
    quality = std::clamp(quality, kMinQuality, kMaxQuality);
    std::vector<std::uint8_t> out;
    CompressJob job{};
    job.cinfo.err = jpeg_std_error(&job.errors.pub);
    job.errors.pub.error_exit = JumpOnError;
    job.errors.pub.output_message = IgnoreMessage;
    job.dest.pub.init_destination = InitDestination;
    job.dest.pub.empty_output_buffer = EmptyOutputBuffer;
    job.dest.pub.term_destination = TermDestination;
    job.dest.out = &out;
    if (!Compress(image, quality, job)) {
        throw Error(job.errors.message);
    }
    return out;
}

}  // namespace losfix
