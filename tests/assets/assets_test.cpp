// Checks the committed picture files: the formats the face loader relies on,
// and that each picture is exactly the size of the element that shows it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <csetjmp>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

#include "face/elements.h"

namespace {

namespace fs = std::filesystem;
using wuffel::ElementKind;
using wuffel::ElementInfo;
using wuffel::PictureOrigin;

std::vector<unsigned char> readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct JpegInfo {
  bool ok = false;
  bool progressive = true;
  int components = 0;
  int precision = 0;
  int width = 0;
  int height = 0;
  J_COLOR_SPACE colorSpace = JCS_UNKNOWN;
};

struct ErrorTrap {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};

void onJpegError(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorTrap*>(cinfo->err)->jump, 1);
}

JpegInfo readJpegHeader(const fs::path& path) {
  JpegInfo info;
  std::vector<unsigned char> data = readFile(path);
  if (data.empty()) return info;
  jpeg_decompress_struct cinfo;
  ErrorTrap trap;
  cinfo.err = jpeg_std_error(&trap.mgr);
  trap.mgr.error_exit = onJpegError;
  if (setjmp(trap.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return JpegInfo{};
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
  if (jpeg_read_header(&cinfo, TRUE) == JPEG_HEADER_OK) {
    info.ok = true;
    info.progressive = cinfo.progressive_mode != FALSE;
    info.components = cinfo.num_components;
    info.precision = cinfo.data_precision;
    info.width = static_cast<int>(cinfo.image_width);
    info.height = static_cast<int>(cinfo.image_height);
    info.colorSpace = cinfo.jpeg_color_space;
  }
  jpeg_destroy_decompress(&cinfo);
  return info;
}

uint32_t u32(const std::vector<unsigned char>& d, size_t at) {
  return d[at] | d[at + 1] << 8 | d[at + 2] << 16 | static_cast<uint32_t>(d[at + 3]) << 24;
}
int32_t i32(const std::vector<unsigned char>& d, size_t at) { return static_cast<int32_t>(u32(d, at)); }
uint16_t u16(const std::vector<unsigned char>& d, size_t at) { return d[at] | d[at + 1] << 8; }

// A decoded 1-bit bitmap; black(x, y) counts y from the top.
struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<bool> blackPixels;
  bool black(int x, int y) const { return blackPixels[static_cast<size_t>(y) * width + x]; }
};

// Checks the layout of a two-colour bitmap file and decodes it.
::testing::AssertionResult readBitmap(const fs::path& path, Bitmap& out) {
  std::vector<unsigned char> d = readFile(path);
  if (d.size() < 62) return ::testing::AssertionFailure() << path << ": missing or too short";
  if (d[0] != 'B' || d[1] != 'M') return ::testing::AssertionFailure() << path << ": no BM signature";
  if (u32(d, 2) != d.size()) return ::testing::AssertionFailure() << path << ": file size field " << u32(d, 2) << " != " << d.size();
  if (u32(d, 14) != 40) return ::testing::AssertionFailure() << path << ": info header is not 40 bytes";
  const int32_t width = i32(d, 18);
  const int32_t height = i32(d, 22);
  if (width <= 0 || height <= 0) return ::testing::AssertionFailure() << path << ": not a bottom-up bitmap";
  if (u16(d, 26) != 1) return ::testing::AssertionFailure() << path << ": planes != 1";
  if (u16(d, 28) != 1) return ::testing::AssertionFailure() << path << ": not 1 bit per pixel";
  if (u32(d, 30) != 0) return ::testing::AssertionFailure() << path << ": compressed";
  const uint32_t colours = u32(d, 46);
  if (colours != 2) return ::testing::AssertionFailure() << path << ": palette has " << colours << " entries";
  const unsigned char black[3] = {0, 0, 0}, white[3] = {255, 255, 255};
  for (int c = 0; c < 3; ++c) {
    if (d[54 + c] != black[c]) return ::testing::AssertionFailure() << path << ": palette entry 0 is not black";
    if (d[58 + c] != white[c]) return ::testing::AssertionFailure() << path << ": palette entry 1 is not white";
  }
  const uint32_t offset = u32(d, 10);
  if (offset < 62) return ::testing::AssertionFailure() << path << ": pixels overlap the palette";
  const size_t stride = (static_cast<size_t>(width) + 31) / 32 * 4;
  if (offset + stride * height != d.size())
    return ::testing::AssertionFailure() << path << ": pixel data is not " << height << " rows of " << stride << " bytes";
  out.width = width;
  out.height = height;
  out.blackPixels.assign(static_cast<size_t>(width) * height, false);
  for (int y = 0; y < height; ++y) {
    const size_t row = offset + (height - 1 - y) * stride;
    for (int x = 0; x < width; ++x)
      out.blackPixels[static_cast<size_t>(y) * width + x] = !(d[row + x / 8] & (0x80 >> (x % 8)));
  }
  return ::testing::AssertionSuccess();
}

bool hasBitmap(const ElementInfo& e) {
  return e.picture == PictureOrigin::Own &&
         (e.kind == ElementKind::Segment || e.kind == ElementKind::DigitGlyph);
}
bool hasJpeg(const ElementInfo& e) {
  return e.kind == ElementKind::FacePhoto || e.kind == ElementKind::ButtonPicture;
}
fs::path bitmapPath(std::string_view name) {
  return fs::path("assets/segments") / (std::string(name) + ".bmp");
}

void expectBaselineColourJpeg(const fs::path& path, int width, int height) {
  SCOPED_TRACE(path.string());
  const JpegInfo info = readJpegHeader(path);
  ASSERT_TRUE(info.ok) << "cannot read the JPEG header";
  EXPECT_FALSE(info.progressive);
  EXPECT_EQ(info.components, 3);
  EXPECT_EQ(info.colorSpace, JCS_YCbCr);
  EXPECT_EQ(info.precision, 8);
  EXPECT_EQ(info.width, width);
  EXPECT_EQ(info.height, height);
}

TEST(FacePictures, PhotoAndButtonsAreBaselineColourJpegsOfTheirElementsSize) {
  int count = 0;
  for (const ElementInfo& e : wuffel::kElements) {
    if (!hasJpeg(e)) continue;
    ++count;
    expectBaselineColourJpeg(fs::path("assets/face") / (std::string(e.name) + ".jpg"), e.width, e.height);
  }
  EXPECT_EQ(count, 7);
}

TEST(WindowPictures, SplashAndAboutPicturesAreBaselineColourJpegs) {
  expectBaselineColourJpeg("assets/windows/Im_Piccina.jpg", 209, 109);
  expectBaselineColourJpeg("assets/windows/Im_Foto.jpg", 252, 84);
}

TEST(SegmentBitmaps, EachOwnPictureIsAWellFormedTwoColourBitmapOfItsElementsSize) {
  int count = 0;
  for (const ElementInfo& e : wuffel::kElements) {
    if (!hasBitmap(e)) continue;
    ++count;
    SCOPED_TRACE(std::string(e.name));
    Bitmap bmp;
    ASSERT_TRUE(readBitmap(bitmapPath(e.name), bmp));
    EXPECT_EQ(bmp.width, e.width);
    EXPECT_EQ(bmp.height, e.height);
    bool anyBlack = false;
    for (bool b : bmp.blackPixels) anyBlack = anyBlack || b;
    EXPECT_TRUE(anyBlack) << "the figure is empty";
  }
  EXPECT_EQ(count, 81);
}

TEST(SegmentBitmaps, ExactlyTheOwnSegmentsAndGlyphsHaveFiles) {
  std::set<std::string> expected;
  for (const ElementInfo& e : wuffel::kElements)
    if (hasBitmap(e)) expected.insert(std::string(e.name) + ".bmp");
  std::set<std::string> present;
  for (const auto& entry : fs::directory_iterator("assets/segments"))
    present.insert(entry.path().filename().string());
  EXPECT_EQ(present, expected);
  for (const ElementInfo& e : wuffel::kElements)
    if (e.picture == PictureOrigin::Shared) EXPECT_FALSE(fs::exists(bitmapPath(e.name))) << e.name;
}

TEST(SegmentBitmaps, TimeIndicatorsReachTheirBottomLeftCorner) {
  for (const char* name : {"Im_TimeAM", "Im_TimePM", "Im_TimePP"}) {
    SCOPED_TRACE(name);
    Bitmap bmp;
    ASSERT_TRUE(readBitmap(bitmapPath(name), bmp));
    EXPECT_TRUE(bmp.black(0, bmp.height - 1));
  }
}

TEST(SegmentBitmaps, SharedPicturesFitTheirTargets) {
  // A copied picture is shown at its natural size in the target's place.
  for (const auto& shared : wuffel::kSharedPictures) {
    const ElementInfo& target = wuffel::elementInfo(shared.target);
    const ElementInfo& source = wuffel::elementInfo(shared.source);
    SCOPED_TRACE(std::string(target.name));
    Bitmap bmp;
    ASSERT_TRUE(readBitmap(bitmapPath(source.name), bmp));
    EXPECT_EQ(bmp.width, target.width);
    EXPECT_EQ(bmp.height, target.height);
  }
}

TEST(SegmentBitmaps, DigitGlyphsAreDistinct) {
  std::vector<std::vector<bool>> glyphs;
  for (int d = 0; d <= 9; ++d) {
    Bitmap bmp;
    ASSERT_TRUE(readBitmap(bitmapPath("Im_Num" + std::to_string(d)), bmp));
    for (const auto& other : glyphs) EXPECT_NE(bmp.blackPixels, other) << "digit " << d;
    glyphs.push_back(bmp.blackPixels);
  }
}

TEST(IconPictures, AllSizesArePngsOfTheirSize) {
  for (int size : {256, 128, 64, 48, 32, 16}) {
    const fs::path path = fs::path("assets/icon") / ("wuffel-tennis-" + std::to_string(size) + ".png");
    SCOPED_TRACE(path.string());
    std::vector<unsigned char> d = readFile(path);
    ASSERT_GE(d.size(), 24u);
    const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    EXPECT_TRUE(std::equal(signature, signature + 8, d.begin()));
    auto be32 = [&](size_t at) { return d[at] << 24 | d[at + 1] << 16 | d[at + 2] << 8 | d[at + 3]; };
    EXPECT_EQ(be32(16), size);
    EXPECT_EQ(be32(20), size);
  }
}

}  // namespace
