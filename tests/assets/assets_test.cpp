// Checks the committed picture files: the formats the face loader relies on,
// that each picture is exactly the size of the element that shows it (times
// the scale of its "@2x" or "@3x" copy), and that no two segments at
// different places share a dot.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <csetjmp>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
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
constexpr int kScales[] = {1, 2, 3};

std::string scaledName(std::string_view name, int scale, const char* extension) {
  return std::string(name) + (scale == 1 ? "" : "@" + std::to_string(scale) + "x") + extension;
}
fs::path bitmapPath(std::string_view name, int scale = 1) {
  return fs::path("assets/segments") / scaledName(name, scale, ".bmp");
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
  for (int scale : kScales)
    for (const ElementInfo& e : wuffel::kElements) {
      if (!hasJpeg(e)) continue;
      ++count;
      expectBaselineColourJpeg(fs::path("assets/face") / scaledName(e.name, scale, ".jpg"), e.width * scale,
                               e.height * scale);
    }
  EXPECT_EQ(count, 7 * 3);
}

TEST(FacePictures, CaseOutlineIsATwoColourBitmapOfThePhotographWithRoundedCorners) {
  const ElementInfo& photo = wuffel::elementInfo(wuffel::ElementId::Im_Base);
  Bitmap outline;
  ASSERT_TRUE(readBitmap("assets/face/case-outline.bmp", outline));
  ASSERT_EQ(outline.width, photo.width);
  ASSERT_EQ(outline.height, photo.height);
  const int w = outline.width, h = outline.height;
  for (auto [x, y] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}, {8, 8}, {w - 9, h - 9}})
    EXPECT_FALSE(outline.black(x, y)) << "corner " << x << "," << y;
  for (auto [x, y] : {std::pair{w / 2, h / 2}, {w / 2, 4}, {4, h / 2}, {w / 2, h - 5}, {w - 5, h / 2}})
    EXPECT_TRUE(outline.black(x, y)) << "inside " << x << "," << y;
}

TEST(FacePictures, CaseEdgeIsAnEightBitGreyPngOfThePhotographsSizeAtEachScale) {
  const ElementInfo& photo = wuffel::elementInfo(wuffel::ElementId::Im_Base);
  for (int scale : kScales) {
    const fs::path path = fs::path("assets/face") / scaledName("case-edge", scale, ".png");
    SCOPED_TRACE(path.string());
    const std::vector<unsigned char> d = readFile(path);
    ASSERT_GE(d.size(), 33u);
    const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    ASSERT_TRUE(std::equal(signature, signature + 8, d.begin()));
    ASSERT_TRUE(std::equal(d.begin() + 12, d.begin() + 16, "IHDR"));
    auto be32 = [&](size_t at) { return d[at] << 24 | d[at + 1] << 16 | d[at + 2] << 8 | d[at + 3]; };
    EXPECT_EQ(be32(16), photo.width * scale);
    EXPECT_EQ(be32(20), photo.height * scale);
    EXPECT_EQ(d[24], 8) << "bit depth";
    EXPECT_EQ(d[25], 0) << "colour type: grey";
  }
}

TEST(WindowPictures, SplashAndAboutPicturesAreBaselineColourJpegs) {
  for (int scale : kScales) {
    expectBaselineColourJpeg("assets/windows/" + scaledName("Im_Piccina", scale, ".jpg"), 209 * scale, 109 * scale);
    expectBaselineColourJpeg("assets/windows/" + scaledName("Im_Foto", scale, ".jpg"), 252 * scale, 84 * scale);
  }
}

TEST(SegmentBitmaps, EachOwnPictureIsAWellFormedTwoColourBitmapOfItsElementsSize) {
  int count = 0;
  for (int scale : kScales)
    for (const ElementInfo& e : wuffel::kElements) {
      if (!hasBitmap(e)) continue;
      ++count;
      SCOPED_TRACE(scaledName(e.name, scale, ".bmp"));
      Bitmap bmp;
      ASSERT_TRUE(readBitmap(bitmapPath(e.name, scale), bmp));
      EXPECT_EQ(bmp.width, e.width * scale);
      EXPECT_EQ(bmp.height, e.height * scale);
      bool anyBlack = false;
      for (bool b : bmp.blackPixels) anyBlack = anyBlack || b;
      EXPECT_TRUE(anyBlack) << "the figure is empty";
    }
  EXPECT_EQ(count, 81 * 3);
}

TEST(SegmentBitmaps, ExactlyTheOwnSegmentsAndGlyphsHaveFiles) {
  std::set<std::string> expected;
  for (int scale : kScales)
    for (const ElementInfo& e : wuffel::kElements)
      if (hasBitmap(e)) expected.insert(scaledName(e.name, scale, ".bmp"));
  std::set<std::string> present;
  for (const auto& entry : fs::directory_iterator("assets/segments"))
    present.insert(entry.path().filename().string());
  EXPECT_EQ(present, expected);
  for (int scale : kScales)
    for (const ElementInfo& e : wuffel::kElements)
      if (e.picture == PictureOrigin::Shared) {
        EXPECT_FALSE(fs::exists(bitmapPath(e.name, scale))) << e.name;
      }
}

// The picture a lit element shows: its own, the one it is given at start-up,
// or for a digit position every digit glyph at once.
std::vector<std::string> picturesShownBy(const ElementInfo& e) {
  if (e.kind == ElementKind::DigitPosition) {
    std::vector<std::string> digits;
    for (int d = 0; d <= 9; ++d) digits.push_back("Im_Num" + std::to_string(d));
    return digits;
  }
  for (const auto& shared : wuffel::kSharedPictures)
    if (shared.target == e.id) return {std::string(wuffel::elementInfo(shared.source).name)};
  return {std::string(e.name)};
}

// Like the electrodes of a real liquid-crystal screen: with every segment lit,
// each black dot belongs to one place. Elements at one place showing one
// picture (the shared ball cells) count as one.
TEST(SegmentBitmaps, SegmentsAtDifferentPlacesShareNoDot) {
  for (int scale : kScales) {
    SCOPED_TRACE("scale " + std::to_string(scale));
    const ElementInfo& photo = wuffel::elementInfo(wuffel::ElementId::Im_Base);
    const int width = photo.width * scale;
    // For each dot of the face, the first element found drawing it.
    std::vector<const ElementInfo*> owner(static_cast<size_t>(width) * photo.height * scale, nullptr);
    std::map<std::pair<std::string, std::string>, int> shared;
    for (const ElementInfo& e : wuffel::kElements) {
      if (e.kind != ElementKind::Segment && e.kind != ElementKind::DigitPosition) continue;
      std::set<size_t> dots;
      for (const std::string& picture : picturesShownBy(e)) {
        Bitmap bmp;
        ASSERT_TRUE(readBitmap(bitmapPath(picture, scale), bmp));
        for (int y = 0; y < bmp.height; ++y)
          for (int x = 0; x < bmp.width; ++x)
            if (bmp.black(x, y)) dots.insert(static_cast<size_t>(e.top * scale + y) * width + e.left * scale + x);
      }
      for (size_t dot : dots) {
        const ElementInfo* first = owner[dot];
        const bool samePlaceAndPicture = first && first->left == e.left && first->top == e.top &&
                                         picturesShownBy(*first) == picturesShownBy(e);
        if (first && !samePlaceAndPicture) ++shared[{std::string(first->name), std::string(e.name)}];
        if (!first) owner[dot] = &e;
      }
    }
    for (const auto& [pair, dots] : shared) ADD_FAILURE() << pair.first << " and " << pair.second << " share " << dots << " dots";
  }
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
