// Checks every file in Data/: the nine pictures are 24-bit uncompressed BMPs
// of the sizes and backgrounds the renderer relies on, and the music decodes
// through SDL2_mixer and lasts as long as one loop should.
#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <utility>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kDataDir = "Data/";

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8);
}
std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return U16(b, at) | (U16(b, at + 2) << 16);
}

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

void PrintTo(const Rgb& c, std::ostream* os) { *os << "rgb(" << c.r << "," << c.g << "," << c.b << ")"; }

// A parsed 24-bit BMP. Pixel (x, y) is as a viewer sees it: y = 0 is the top.
struct Bmp {
  std::string error;  // empty when the file is a usable 24-bit BI_RGB bitmap
  int width = 0, height = 0;
  bool bottom_up = true;
  std::size_t offset = 0, stride = 0;
  std::vector<std::uint8_t> bytes;

  Rgb At(int x, int y) const {
    const int row = bottom_up ? height - 1 - y : y;
    const std::size_t p = offset + row * stride + x * 3;
    return {bytes[p + 2], bytes[p + 1], bytes[p]};  // stored B, G, R
  }
};

Bmp LoadBmp(const std::string& path) {
  Bmp bmp;
  bmp.bytes = ReadFile(path);
  const auto& b = bmp.bytes;
  if (b.size() < 54) return bmp.error = "shorter than the BMP headers", bmp;
  if (b[0] != 'B' || b[1] != 'M') return bmp.error = "no 'BM' signature", bmp;
  if (U32(b, 14) < 40) return bmp.error = "info header smaller than BITMAPINFOHEADER", bmp;
  if (U16(b, 26) != 1) return bmp.error = "planes != 1", bmp;
  if (U16(b, 28) != 24) return bmp.error = "not 24 bits per pixel", bmp;
  if (U32(b, 30) != 0) return bmp.error = "compressed (not BI_RGB)", bmp;
  const auto w = static_cast<std::int32_t>(U32(b, 18));
  const auto h = static_cast<std::int32_t>(U32(b, 22));
  if (w <= 0 || h == 0) return bmp.error = "bad dimensions", bmp;
  bmp.width = w;
  bmp.height = h < 0 ? -h : h;
  bmp.bottom_up = h > 0;
  bmp.offset = U32(b, 10);
  bmp.stride = (static_cast<std::size_t>(w) * 3 + 3) & ~std::size_t{3};
  if (bmp.offset < 14 + U32(b, 14) ||
      bmp.offset + bmp.stride * bmp.height > b.size())
    return bmp.error = "pixel data outside the file", bmp;
  return bmp;
}

bool PowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

enum class Background { kWhite, kBlack };

// Pictures drawn on a background that must leave the scene unchanged:
// santa and Gesicht are multiplied (white), greetings, snowFlake and Muetze
// are added (black).
struct Drawing {
  const char* name;
  bool square;
  Background background;
};

const Drawing kDrawings[] = {
    {"santa.bmp", false, Background::kWhite},
    {"greetings.bmp", false, Background::kBlack},
    {"snowFlake.bmp", true, Background::kBlack},
    {"Gesicht.bmp", true, Background::kWhite},
    {"Muetze.bmp", true, Background::kBlack},
};

// Opaque textures wrapped around the trees and snowman or tiled on the
// ground: left and right edges meet, and for the tiled ground also top and
// bottom.
struct Texture {
  const char* name;
  bool tiles_vertically;
};

const Texture kTextures[] = {
    {"snow.bmp", true},
    {"Baumoben.bmp", false},
    {"Baumstamm.bmp", false},
    {"Schneeman.bmp", false},
};

void PrintTo(const Drawing& d, std::ostream* os) { *os << d.name; }
void PrintTo(const Texture& t, std::ostream* os) { *os << t.name; }

template <typename T>
std::string ParamName(const testing::TestParamInfo<T>& info) {
  const std::string n = info.param.name;
  return n.substr(0, n.find('.'));
}

std::vector<std::string> AllPictureNames() {
  std::vector<std::string> names;
  for (const Drawing& d : kDrawings) names.push_back(d.name);
  for (const Texture& t : kTextures) names.push_back(t.name);
  return names;
}

// --- every picture -------------------------------------------------------

class PictureFormatTest : public testing::TestWithParam<std::string> {};

TEST_P(PictureFormatTest, IsUncompressed24BitBmpWithPowerOfTwoSides) {
  const Bmp bmp = LoadBmp(kDataDir + GetParam());
  ASSERT_EQ(bmp.error, "");
  EXPECT_GE(bmp.width, 16);
  EXPECT_GE(bmp.height, 16);
  EXPECT_LE(bmp.width, 2048);
  EXPECT_LE(bmp.height, 2048);
  // santa, greetings and snowFlake are uploaded as they are, the others
  // through gluBuild2DMipmaps, which would rescale any other size
  EXPECT_TRUE(PowerOfTwo(bmp.width)) << "width " << bmp.width;
  EXPECT_TRUE(PowerOfTwo(bmp.height)) << "height " << bmp.height;
}

INSTANTIATE_TEST_SUITE_P(Data, PictureFormatTest, testing::ValuesIn(AllPictureNames()),
                         [](const testing::TestParamInfo<std::string>& info) {
                           return info.param.substr(0, info.param.find('.'));
                         });

// --- drawings on white or black --------------------------------------------

class DrawingTest : public testing::TestWithParam<Drawing> {
 protected:
  void SetUp() override {
    bmp_ = LoadBmp(kDataDir + GetParam().name);
    ASSERT_EQ(bmp_.error, "") << GetParam().name;
    background_ = GetParam().background == Background::kWhite ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
  }
  Bmp bmp_;
  Rgb background_{};
};

TEST_P(DrawingTest, BorderIsPureBackground) {
  const int w = bmp_.width, h = bmp_.height;
  if (GetParam().square) {
    EXPECT_EQ(w, h);
  }
  // corners first, for a clear message
  for (auto [x, y] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}}) {
    const Rgb c = bmp_.At(x, y);
    EXPECT_EQ(c, background_) << "corner " << x << "," << y << " = " << c.r << "," << c.g << ","
                              << c.b;
  }
  int wrong = 0;
  for (int x = 0; x < w; ++x) wrong += !(bmp_.At(x, 0) == background_) + !(bmp_.At(x, h - 1) == background_);
  for (int y = 0; y < h; ++y) wrong += !(bmp_.At(0, y) == background_) + !(bmp_.At(w - 1, y) == background_);
  EXPECT_EQ(wrong, 0) << "border pixels that are not the pure background";
}

TEST_P(DrawingTest, DrawsSomethingAndKeepsBackgroundAround) {
  const int w = bmp_.width, h = bmp_.height;
  long drawn = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) drawn += !(bmp_.At(x, y) == background_);
  const double share = double(drawn) / (double(w) * h);
  EXPECT_GT(share, 0.03) << "almost nothing drawn";
  EXPECT_LT(share, 0.90) << "hardly any background left";
}

INSTANTIATE_TEST_SUITE_P(Data, DrawingTest, testing::ValuesIn(kDrawings), ParamName<Drawing>);

// --- wrapped and tiled textures --------------------------------------------

class TextureTest : public testing::TestWithParam<Texture> {
 protected:
  void SetUp() override {
    bmp_ = LoadBmp(kDataDir + GetParam().name);
    ASSERT_EQ(bmp_.error, "") << GetParam().name;
  }
  // Mean absolute difference (all channels) between two columns or rows.
  double ColumnDifference(int a, int b) const {
    double sum = 0;
    for (int y = 0; y < bmp_.height; ++y) sum += Distance(bmp_.At(a, y), bmp_.At(b, y));
    return sum / bmp_.height;
  }
  double RowDifference(int a, int b) const {
    double sum = 0;
    for (int x = 0; x < bmp_.width; ++x) sum += Distance(bmp_.At(x, a), bmp_.At(x, b));
    return sum / bmp_.width;
  }
  static int Distance(Rgb p, Rgb q) {
    return std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
  }
  Bmp bmp_;
};

TEST_P(TextureTest, IsNotFlat) {
  int lo = 255 * 3, hi = 0;
  for (int y = 0; y < bmp_.height; ++y)
    for (int x = 0; x < bmp_.width; ++x) {
      const Rgb c = bmp_.At(x, y);
      lo = std::min(lo, c.r + c.g + c.b);
      hi = std::max(hi, c.r + c.g + c.b);
    }
  EXPECT_GT(hi - lo, 30) << "texture is flat";
}

TEST_P(TextureTest, WrapsWithoutSeam) {
  // The last column must join the first as smoothly as neighbouring columns
  // join inside the picture (and the same for rows where it tiles).
  const int w = bmp_.width, h = bmp_.height;
  double inside = 0;
  for (int x = 0; x + 1 < w; ++x) inside += ColumnDifference(x, x + 1);
  inside /= w - 1;
  const double seam = ColumnDifference(w - 1, 0);
  EXPECT_LE(seam, 1.5 * inside + 1.0) << "left/right seam " << seam << " vs. inside " << inside;
  if (!GetParam().tiles_vertically) return;
  inside = 0;
  for (int y = 0; y + 1 < h; ++y) inside += RowDifference(y, y + 1);
  inside /= h - 1;
  const double row_seam = RowDifference(h - 1, 0);
  EXPECT_LE(row_seam, 1.5 * inside + 1.0) << "top/bottom seam " << row_seam << " vs. inside " << inside;
}

INSTANTIATE_TEST_SUITE_P(Data, TextureTest, testing::ValuesIn(kTextures), ParamName<Texture>);

// --- single pictures -------------------------------------------------------

TEST(DataPictures, GreetingsIsFourToOne) {
  const Bmp bmp = LoadBmp(kDataDir + "greetings.bmp");
  ASSERT_EQ(bmp.error, "");
  EXPECT_EQ(bmp.width, 4 * bmp.height);
}

TEST(DataPictures, FaceHasDarkCoalOnWhite) {
  const Bmp bmp = LoadBmp(kDataDir + "Gesicht.bmp");
  ASSERT_EQ(bmp.error, "");
  // multiplied: coal must be really dark, most of the face stays pure white
  long white = 0, coal = 0;
  for (int y = 0; y < bmp.height; ++y)
    for (int x = 0; x < bmp.width; ++x) {
      const Rgb c = bmp.At(x, y);
      white += c == Rgb{255, 255, 255};
      coal += c.r + c.g + c.b < 3 * 48;
    }
  const double n = double(bmp.width) * bmp.height;
  EXPECT_GT(white / n, 0.6);
  EXPECT_GT(coal / n, 0.01);
}

TEST(DataPictures, HatBrimSitsInTheLowestQuarter) {
  const Bmp bmp = LoadBmp(kDataDir + "Muetze.bmp");
  ASSERT_EQ(bmp.error, "");
  // the quad's lower 0.15/0.65 overlaps the head: the hat's widest row (the
  // brim) belongs near there, and its top (the bobble) well above
  int widest_row = -1, widest = 0, top_row = -1;
  for (int y = 0; y < bmp.height; ++y) {
    int lit = 0;
    for (int x = 0; x < bmp.width; ++x) {
      const Rgb c = bmp.At(x, y);
      lit += c.r + c.g + c.b > 3 * 40;
    }
    if (lit > 0 && top_row < 0) top_row = y;
    if (lit > widest) widest = lit, widest_row = y;
  }
  ASSERT_GE(widest_row, 0);
  EXPECT_GT(widest_row, bmp.height * 0.65) << "brim too high";
  EXPECT_LT(top_row, bmp.height * 0.25) << "no crown or bobble above the head";
  EXPECT_GT(widest, bmp.width / 2) << "brim narrower than the head";
}

TEST(DataFiles, DataHoldsExactlyTheExpectedFiles) {
  std::set<std::string> expected = {"music.mp3"};
  for (const std::string& name : AllPictureNames()) expected.insert(name);
  std::set<std::string> found;
  for (const auto& e : std::filesystem::directory_iterator(kDataDir))
    if (e.is_regular_file()) found.insert(e.path().filename().string());
  EXPECT_EQ(found, expected);
}

// The first MPEG audio frame header after an optional ID3v2 tag.
TEST(DataMusic, IsMp3At44kHzWith128To192Kbits) {
  const auto b = ReadFile(kDataDir + "music.mp3");
  ASSERT_GT(b.size(), 1000u);
  std::size_t at = 0;
  if (b[0] == 'I' && b[1] == 'D' && b[2] == '3')
    at = 10 + ((b[6] & 0x7f) << 21 | (b[7] & 0x7f) << 14 | (b[8] & 0x7f) << 7 | (b[9] & 0x7f));
  ASSERT_LT(at + 4, b.size());
  ASSERT_EQ(b[at], 0xff);
  ASSERT_EQ(b[at + 1] & 0xe0, 0xe0) << "no frame sync";
  EXPECT_EQ((b[at + 1] >> 3) & 3, 3) << "not MPEG-1";
  EXPECT_EQ((b[at + 1] >> 1) & 3, 1) << "not Layer III";
  static const int kKbits[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
  const int kbits = kKbits[b[at + 2] >> 4];
  EXPECT_GE(kbits, 128);
  EXPECT_LE(kbits, 192);
  EXPECT_EQ((b[at + 2] >> 2) & 3, 0) << "not 44.1 kHz";
}

class MixerTest : public testing::Test {
 protected:
  void SetUp() override {
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
    Mix_Init(MIX_INIT_MP3);
    ASSERT_EQ(Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024), 0) << Mix_GetError();
  }
  void TearDown() override {
    Mix_CloseAudio();
    Mix_Quit();
    SDL_Quit();
  }
};

TEST_F(MixerTest, MusicDecodesAndLastsOneToTwoMinutes) {
  Mix_Music* music = Mix_LoadMUS((kDataDir + "music.mp3").c_str());
  ASSERT_NE(music, nullptr) << Mix_GetError();
  EXPECT_EQ(Mix_GetMusicType(music), MUS_MP3);
  const double seconds = Mix_MusicDuration(music);
  EXPECT_GE(seconds, 60.0);
  EXPECT_LE(seconds, 120.0);
  Mix_FreeMusic(music);
}

}  // namespace
