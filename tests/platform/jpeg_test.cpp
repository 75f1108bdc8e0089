#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "core/common/Error.h"
#include "platform/JpegWriter.h"

namespace losfix {
namespace {

// What the test reads back from a JPEG file.
struct Decoded {
    bool ok = false;
    int width = 0;
    int height = 0;
    int components = 0;
    bool progressive = false;
    std::vector<std::uint8_t> pixels;
    std::string message;
};

struct DecodeErrors {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void DecodeErrorExit(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<DecodeErrors*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    std::longjmp(errors->jump, 1);
}

struct DecodeJob {
    jpeg_decompress_struct cinfo;
    DecodeErrors errors;
};

// Plain C data only between setjmp and the jump back.
bool DecodeInto(const std::vector<std::uint8_t>& bytes, DecodeJob& job, std::uint8_t* pixels,
                std::size_t capacity, Decoded& info) {
    jpeg_decompress_struct* cinfo = &job.cinfo;
    if (setjmp(job.errors.jump) != 0) {
        jpeg_destroy_decompress(cinfo);
        return false;
    }
    jpeg_create_decompress(cinfo);
    jpeg_mem_src(cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(cinfo, TRUE);
    cinfo->out_color_space = JCS_RGB;
    jpeg_start_decompress(cinfo);
    info.width = static_cast<int>(cinfo->output_width);
    info.height = static_cast<int>(cinfo->output_height);
    info.components = cinfo->output_components;
    info.progressive = jpeg_has_multiple_scans(cinfo) != 0;
    const std::size_t stride = static_cast<std::size_t>(info.width) * 3;
    while (cinfo->output_scanline < cinfo->output_height) {
        const std::size_t offset = cinfo->output_scanline * stride;
        if (offset + stride > capacity) {
            jpeg_destroy_decompress(cinfo);
            return false;
        }
        JSAMPROW row = pixels + offset;
        jpeg_read_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_decompress(cinfo);
    jpeg_destroy_decompress(cinfo);
    return true;
}

Decoded Decode(const std::vector<std::uint8_t>& bytes, int expectedWidth, int expectedHeight) {
    Decoded info;
    info.pixels.resize(static_cast<std::size_t>(expectedWidth) * expectedHeight * 3);
    DecodeJob job{};
    job.cinfo.err = jpeg_std_error(&job.errors.pub);
    job.errors.pub.error_exit = DecodeErrorExit;
    info.ok = DecodeInto(bytes, job, info.pixels.data(), info.pixels.size(), info);
    info.message = job.errors.message;
    return info;
}

RgbImage Gradient(int width, int height) {
    RgbImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint8_t* p = &image.pixels[(static_cast<std::size_t>(y) * width + x) * 3];
            p[0] = static_cast<std::uint8_t>(x * 255 / (width - 1));
            p[1] = static_cast<std::uint8_t>(y * 255 / (height - 1));
            p[2] = static_cast<std::uint8_t>((x + y) * 255 / (width + height - 2));
        }
    }
    return image;
}

// Start-of-frame markers outside the entropy-coded data: FF C0 baseline, FF C2 progressive.
bool HasMarker(const std::vector<std::uint8_t>& bytes, std::uint8_t marker) {
    std::size_t pos = 2;  // after SOI
    while (pos + 4 <= bytes.size() && bytes[pos] == 0xFF) {
        const std::uint8_t code = bytes[pos + 1];
        if (code == marker) {
            return true;
        }
        if (code == 0xDA || code == 0xD9) {  // start of scan or end: no frame header after it
            return false;
        }
        pos += 2 + (static_cast<std::size_t>(bytes[pos + 2]) << 8 | bytes[pos + 3]);
    }
    return false;
}

TEST(JpegWriter, GradientDecodesBackAsAProgressiveImage) {
    const RgbImage image = Gradient(287, 259);
    const std::vector<std::uint8_t> jpeg = EncodeProgressiveJpeg(image, 100);
    ASSERT_GT(jpeg.size(), 4u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
    EXPECT_EQ(jpeg[jpeg.size() - 2], 0xFF);
    EXPECT_EQ(jpeg[jpeg.size() - 1], 0xD9);
    EXPECT_TRUE(HasMarker(jpeg, 0xC2)) << "no SOF2 marker";
    EXPECT_FALSE(HasMarker(jpeg, 0xC0)) << "baseline SOF0 marker";

    const Decoded decoded = Decode(jpeg, image.width, image.height);
    ASSERT_TRUE(decoded.ok) << decoded.message;
    EXPECT_EQ(decoded.width, 287);
    EXPECT_EQ(decoded.height, 259);
    EXPECT_EQ(decoded.components, 3);
    EXPECT_TRUE(decoded.progressive);
    // At quality 100 the smooth gradient comes back nearly unchanged.
    long long totalError = 0;
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        totalError += std::abs(int{decoded.pixels[i]} - int{image.pixels[i]});
    }
    EXPECT_LT(static_cast<double>(totalError) / static_cast<double>(image.pixels.size()), 2.0);
}

TEST(JpegWriter, LowerQualityGivesASmallerFile) {
    const RgbImage image = Gradient(320, 240);
    const auto best = EncodeProgressiveJpeg(image, 100);
    const auto lowest = EncodeProgressiveJpeg(image, 36);
    EXPECT_LT(lowest.size(), best.size());
    EXPECT_TRUE(HasMarker(lowest, 0xC2));
    // Qualities outside 36..100 are held to the range.
    EXPECT_EQ(EncodeProgressiveJpeg(image, 5), lowest);
    EXPECT_EQ(EncodeProgressiveJpeg(image, 250), best);
    EXPECT_NE(EncodeProgressiveJpeg(image, 60), lowest);
}

TEST(JpegWriter, OnePixelAndLargeImages) {
    RgbImage dot;
    dot.width = 1;
    dot.height = 1;
    dot.pixels = {255, 0, 0};
    const Decoded one = Decode(EncodeProgressiveJpeg(dot, 100), 1, 1);
    ASSERT_TRUE(one.ok) << one.message;
    EXPECT_EQ(one.width, 1);
    EXPECT_GT(one.pixels[0], 200);

    // Output far beyond any first buffer size.
    const RgbImage big = Gradient(1600, 1200);
    const auto jpeg = EncodeProgressiveJpeg(big, 100);
    const Decoded decoded = Decode(jpeg, big.width, big.height);
    ASSERT_TRUE(decoded.ok) << decoded.message;
    EXPECT_EQ(decoded.width, 1600);
    EXPECT_EQ(decoded.height, 1200);
}

std::string EncodeError(const RgbImage& image) {
    try {
        EncodeProgressiveJpeg(image, 80);
    } catch (const Error& e) {
        return e.what();
    }
    return {};
}

TEST(JpegWriter, ErrorsBecomeErrorsNotAnExit) {
    RgbImage empty;
    EXPECT_EQ(EncodeError(empty), "Kein Bild im Speicher");
    RgbImage noHeight = Gradient(10, 10);
    noHeight.height = 0;
    EXPECT_EQ(EncodeError(noHeight), "Kein Bild im Speicher");

    RgbImage shortPixels = Gradient(10, 10);
    shortPixels.pixels.resize(10 * 10 * 3 - 1);
    EXPECT_EQ(EncodeError(shortPixels), "Die Bilddaten sind unvollständig");

    // libjpeg itself refuses the width; its own message comes through, and the writer works on.
    RgbImage wide;
    wide.width = 70000;
    wide.height = 1;
    wide.pixels.assign(70000 * 3, 128);
    const std::string message = EncodeError(wide);
    EXPECT_NE(message.find("65500"), std::string::npos) << message;
    EXPECT_TRUE(HasMarker(EncodeProgressiveJpeg(Gradient(16, 16), 90), 0xC2));
}

}  // namespace
}  // namespace losfix
