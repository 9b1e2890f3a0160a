#include "printing/barcode_image.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "support/fixture.h"

#ifdef TOVIRAK_HAVE_ZXING
#define ZX_USE_UTF8 1  // Result::text() as UTF-8 std::string
#include <ZXing/ReadBarcode.h>
#endif

namespace {

using printing::CodeSet;

// Text needs a QGuiApplication; core_tests has no main of its own, so the
// first barcode test makes one on the offscreen platform. It lives until the
// program ends.
void ensureGuiApplication() {
    if (QCoreApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "core_tests";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}

class BarcodeTest : public ::testing::Test {
protected:
    void SetUp() override { ensureGuiApplication(); }

    std::string path(const std::string& name) const { return m_temp.path(name); }

    testing_support::TempDir m_temp;
};
using BarcodeImage = BarcodeTest;
using BarcodeFile = BarcodeTest;

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

bool isDark(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 128; }

// Columns of row y that hold a dark pixel.
std::vector<int> darkColumns(const QImage& image, int y) {
    std::vector<int> columns;
    for (int x = 0; x < image.width(); ++x)
        if (isDark(image, x, y)) columns.push_back(x);
    return columns;
}

// What an independent reader finds in the picture: the text of a Code 128
// symbol, or "" when it finds none.
std::string scan(const QImage& picture) {
#ifdef TOVIRAK_HAVE_ZXING
    const QImage gray = picture.convertToFormat(QImage::Format_Grayscale8);
    const ZXing::ImageView view(gray.constBits(), gray.width(), gray.height(),
                                ZXing::ImageFormat::Lum, static_cast<int>(gray.bytesPerLine()));
    const ZXing::Result result =
        ZXing::ReadBarcode(view, ZXing::DecodeHints().setFormats(ZXing::BarcodeFormat::Code128));
    if (!result.isValid() || result.format() != ZXing::BarcodeFormat::Code128) return "";
    return result.text();
#else
    (void)picture;
    return "";
#endif
}

#ifdef TOVIRAK_HAVE_ZXING
constexpr bool kCanScan = true;
#else
constexpr bool kCanScan = false;
#endif

struct ScanCase {
    std::string code;
    CodeSet set;
    std::string expected;  // the trimmed code
};

TEST_F(BarcodeFile, WrittenBitmapScansBackAsTheTrimmedCode) {
    const std::vector<ScanCase> cases = {
        {"1201205140001", CodeSet::C, "1201205140001"},    // item code, odd number of digits
        {"12012051400012", CodeSet::C, "12012051400012"},  // even number of digits
        {" 1201205140002\t", CodeSet::C, "1201205140002"},
        {"AB-12", CodeSet::C, "AB-12"},  // not digits at all
        {"ELDEST.RIVERSIDE", CodeSet::A, "ELDEST.RIVERSIDE"},
        {"M0001234", CodeSet::A, "M0001234"},
        {"eldest.riverside", CodeSet::A, "eldest.riverside"},
        {"caf\xc3\xa9", CodeSet::A, "caf\xc3\xa9"},  // Latin-1 letter, through FNC4
    };
    int n = 0;
    for (const ScanCase& c : cases) {
        SCOPED_TRACE("code \"" + c.code + "\"");
        const std::string file = path("code" + std::to_string(n++) + ".bmp");
        std::string message;
        ASSERT_TRUE(printing::writeBarcodeBitmap(file, c.code, c.set, &message)) << message;

        EXPECT_EQ(readAll(file).substr(0, 2), "BM");
        const QImage written(QString::fromStdString(file), "BMP");
        ASSERT_FALSE(written.isNull());
        EXPECT_EQ(written.size(), printing::renderBarcode(c.code, c.set).size());
        EXPECT_EQ(written.dotsPerMeterX(), printing::kPixelsPerMetre);
        EXPECT_EQ(written.dotsPerMeterY(), printing::kPixelsPerMetre);
        if (kCanScan) {
            EXPECT_EQ(scan(written), c.expected);
        }
    }
    if (!kCanScan) GTEST_SKIP() << "ZXing-C++ not found: pictures were written but not scanned";
}

TEST_F(BarcodeFile, ReplacesAFileOfTheSameName) {
    const std::string file = path("1201205140001.bmp");
    writeText(file, "not a picture");

    ASSERT_TRUE(printing::writeBarcodeBitmap(file, "ELDEST.RIVERSIDE", CodeSet::A));
    const QImage first(QString::fromStdString(file), "BMP");
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first.size(), printing::renderBarcode("ELDEST.RIVERSIDE", CodeSet::A).size());

    // A shorter code over a longer one: nothing of the first picture remains.
    ASSERT_TRUE(printing::writeBarcodeBitmap(file, "1201205140001", CodeSet::C));
    const QImage second(QString::fromStdString(file), "BMP");
    ASSERT_FALSE(second.isNull());
    EXPECT_EQ(second.size(), printing::renderBarcode("1201205140001", CodeSet::C).size());
    EXPECT_LT(second.width(), first.width());
    if (kCanScan) {
        EXPECT_EQ(scan(second), "1201205140001");
    }

    // Only the picture is left in the folder: no temporary file behind it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_temp.dir()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(BarcodeFile, FailureSaysWhyAndLeavesTheOldFile) {
    const std::string kept = path("kept.bmp");
    const std::string blocker = path("plain-file");
    writeText(blocker, "x");
    std::filesystem::create_directory(path("a-folder"));

    struct FailCase {
        std::string label;
        std::string file;
        std::string code;
    };
    const std::vector<FailCase> cases = {
        {"empty code", kept, ""},
        {"blank code", kept, " \t "},
        {"character beyond Latin-1", kept, "\xe4\xb8\xad"},
        {"code too long", kept, std::string(300, 'X')},
        {"folder missing", path("no-such-folder/1201205140001.bmp"), "1201205140001"},
        {"folder is a file", blocker + "/1201205140001.bmp", "1201205140001"},
        {"target is a folder", path("a-folder"), "1201205140001"},
        {"empty path", "", "1201205140001"},
    };
    for (const FailCase& c : cases) {
        SCOPED_TRACE(c.label);
        writeText(kept, "old content");
        std::string message;
        EXPECT_FALSE(printing::writeBarcodeBitmap(c.file, c.code, CodeSet::C, &message));
        EXPECT_FALSE(message.empty());
        EXPECT_EQ(readAll(kept), "old content");
        EXPECT_EQ(readAll(blocker), "x");
        EXPECT_TRUE(std::filesystem::is_directory(path("a-folder")));
        EXPECT_FALSE(std::filesystem::exists(path("no-such-folder")));
    }
    // Only what the test made itself is in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_temp.dir()),
                            std::filesystem::directory_iterator()),
              3);
    // Without a place for the message the failure is still only a false.
    EXPECT_FALSE(printing::writeBarcodeBitmap(blocker + "/x.bmp", "1", CodeSet::C));
}

TEST_F(BarcodeImage, RefusedCodeGivesNullImageAndItsReason) {
    std::string message;
    EXPECT_TRUE(printing::renderBarcode("   ", CodeSet::A, &message).isNull());
    EXPECT_EQ(message, "There is no code to draw as a barcode.");

    EXPECT_TRUE(printing::renderBarcode("\xe4\xb8\xad", CodeSet::A, &message).isNull());
    EXPECT_NE(message.find("\xe4\xb8\xad"), std::string::npos) << message;
}

// The picture is the bars inside their quiet zones, the text under them, and
// nothing else: bars start at the top row, every bar sits on the module grid,
// and the gap under the bars is white.
TEST_F(BarcodeImage, PictureIsBarsInQuietZonesWithTextBelow) {
    for (const auto& [code, set] : std::vector<std::pair<std::string, CodeSet>>{
             {"1201205140001", CodeSet::C}, {"ELDEST.RIVERSIDE", CodeSet::A}}) {
        SCOPED_TRACE(code);
        const QImage image = printing::renderBarcode(code, set);
        ASSERT_FALSE(image.isNull());
        const int quiet = printing::kQuietZoneModules * printing::kModulePixels;

        for (int y : {0, printing::kBarHeightPixels - 1}) {
            const std::vector<int> bars = darkColumns(image, y);
            ASSERT_FALSE(bars.empty());
            EXPECT_EQ(bars.front(), quiet);
            EXPECT_EQ(bars.back(), image.width() - 1 - quiet);
        }
        // Code 128 ends with a 2-module bar; every run of equal pixels in a
        // bar row is a whole number of modules.
        int run = 1;
        for (int x = quiet + 1; x <= image.width() - quiet; ++x) {
            if (x < image.width() - quiet && isDark(image, x, 0) == isDark(image, x - 1, 0)) {
                ++run;
                continue;
            }
            EXPECT_EQ(run % printing::kModulePixels, 0) << "run ending at x=" << x;
            run = 1;
        }
        for (int y = printing::kBarHeightPixels;
             y < printing::kBarHeightPixels + printing::kTextGapPixels; ++y)
            EXPECT_TRUE(darkColumns(image, y).empty()) << "row " << y;

        // The text is there, below the gap, and centred under the bars.
        int left = image.width(), right = -1, bottom = -1;
        for (int y = printing::kBarHeightPixels + printing::kTextGapPixels; y < image.height();
             ++y) {
            const std::vector<int> ink = darkColumns(image, y);
            if (ink.empty()) continue;
            left = std::min(left, ink.front());
            right = std::max(right, ink.back());
            bottom = y;
        }
        ASSERT_GE(right, 0) << "no text under the bars";
        EXPECT_NEAR((left + right) / 2.0, (image.width() - 1) / 2.0, 3.0);
        EXPECT_GE(bottom, image.height() - 10) << "space under the text beyond its descent";
    }
}

// Set C packs digits two to a symbol; the other set takes one symbol per
// character. Each symbol is 11 modules; start, check character and the
// 13-module stop add 35.
TEST_F(BarcodeImage, WidthFollowsTheCodeSet) {
    struct WidthCase {
        std::string code;
        CodeSet set;
        int symbols;  // data symbols, code set changes included
    };
    const std::vector<WidthCase> cases = {
        {"12012051400012", CodeSet::C, 7},
        {"1201205140001", CodeSet::C, 8},  // six pairs, a change of set, the last digit
        {"1201205140001", CodeSet::A, 13},
        {"ELDEST.RIVERSIDE", CodeSet::A, 16},
    };
    for (const WidthCase& c : cases) {
        SCOPED_TRACE(c.code);
        const QImage image = printing::renderBarcode(c.code, c.set);
        const int modules = c.symbols * 11 + 35 + 2 * printing::kQuietZoneModules;
        EXPECT_EQ(image.width(), modules * printing::kModulePixels);
    }
}

TEST(BarcodePath, NamesTheFileAfterTheTrimmedCodeInItsFolder) {
    EXPECT_EQ(printing::bookBarcodePath("/data/", " 1201205140001 "),
              "/data/imgbcbook/1201205140001.bmp");
    EXPECT_EQ(printing::memberBarcodePath("/data/", "ELDEST.RIVERSIDE\t"),
              "/data/imgbcmember/ELDEST.RIVERSIDE.bmp");
}

}  // namespace
