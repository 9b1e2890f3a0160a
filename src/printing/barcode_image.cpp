#include "printing/barcode_image.h"

#include <zint.h>

#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QString>
#include <algorithm>
#include <memory>
#include <vector>

#include "core/text.h"

namespace printing {

namespace {

void tell(std::string* message, const std::string& text) {
    if (message) *message = text;
}

struct SymbolDeleter {
    void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};
using Symbol = std::unique_ptr<zint_symbol, SymbolDeleter>;

// The modules of the Code 128 symbol for `text`, left to right, true for a
// bar; empty when libzint refuses the text, with its reason in `error`.
std::vector<bool> encodeModules(const std::string& text, CodeSet set, std::string& error) {
    Symbol symbol(ZBarcode_Create());
    if (!symbol) {
        error = "out of memory";
        return {};
    }
    // libzint 2.11 has no way to request a code set. Its automatic Code 128
    // packs every run of digit pairs into set C, which is all that set C can
    // hold, and puts whatever else the text has (an odd last digit, letters)
    // into sets A or B. Its code set B variant never uses set C, which gives
    // the one-symbol-per-character layout of set A.
    symbol->symbology = set == CodeSet::C ? BARCODE_CODE128 : BARCODE_CODE128B;
    // UTF-8 in, converted to Latin-1 (Code 128 reaches the upper half through
    // FNC4); anything beyond Latin-1 is refused rather than encoded as bytes.
    symbol->input_mode = UNICODE_MODE;
    symbol->show_hrt = 0;
    const int result =
        ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(text.data()),
                        static_cast<int>(text.size()));
    if (result >= ZINT_ERROR) {
        error = symbol->errtxt;
        return {};
    }
    if (symbol->rows != 1 || symbol->width <= 0) {
        error = "unexpected symbol shape";
        return {};
    }
    // Row 0 of encoded_data holds one bit per module, least significant first.
    std::vector<bool> modules(static_cast<std::size_t>(symbol->width));
    for (int x = 0; x < symbol->width; ++x)
        modules[static_cast<std::size_t>(x)] = (symbol->encoded_data[0][x >> 3] >> (x & 7)) & 1;
    return modules;
}

bool haveGuiApplication() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

std::string cannotWrite(const std::string& path, const QString& reason) {
    return "The barcode file \"" + path + "\" cannot be written: " + reason.toStdString();
}

}  // namespace

QImage renderBarcode(const std::string& code, CodeSet set, std::string* message) {
    const std::string text = core::trim(code);
    if (text.empty()) {
        tell(message, "There is no code to draw as a barcode.");
        return {};
    }
    // Fonts belong to the GUI application; without one, drawing text aborts.
    if (!haveGuiApplication()) {
        tell(message, "The barcode of \"" + text +
                          "\" cannot be drawn: the program has no font system running.");
        return {};
    }
    std::string error;
    const std::vector<bool> modules = encodeModules(text, set, error);
    if (modules.empty()) {
        tell(message, "The barcode of \"" + text + "\" cannot be drawn: " + error);
        return {};
    }

    QFont font(QString::fromLatin1(kTextFontFamily));
    font.setPixelSize(kTextPixelSize);
    const QFontMetrics metrics(font);
    const QString caption = QString::fromStdString(text);

    const int moduleCount = static_cast<int>(modules.size()) + 2 * kQuietZoneModules;
    const int barsWidth = moduleCount * kModulePixels;
    // A very long run of digits packs tighter than its text; the picture then
    // takes the text's width and the bars stay centred.
    const int textWidth =
        std::max(metrics.horizontalAdvance(caption), metrics.boundingRect(caption).width());
    const int width = std::max(barsWidth, textWidth);
    const int textTop = kBarHeightPixels + kTextGapPixels;
    const int height = textTop + metrics.height();

    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    image.setDotsPerMeterX(kPixelsPerMetre);
    image.setDotsPerMeterY(kPixelsPerMetre);

    QPainter painter(&image);
    const int firstModuleX = (width - barsWidth) / 2 + kQuietZoneModules * kModulePixels;
    // Each run of adjacent bar modules is one filled rectangle on whole pixels.
    for (std::size_t start = 0; start < modules.size();) {
        if (!modules[start]) {
            ++start;
            continue;
        }
        std::size_t end = start;
        while (end < modules.size() && modules[end]) ++end;
        painter.fillRect(firstModuleX + static_cast<int>(start) * kModulePixels, 0,
                         static_cast<int>(end - start) * kModulePixels, kBarHeightPixels,
                         Qt::black);
        start = end;
    }
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, textTop, width, metrics.height()), Qt::AlignHCenter | Qt::AlignTop,
                     caption);
    painter.end();
    return image;
}

bool writeBarcodeBitmap(const std::string& path, const std::string& code, CodeSet set,
                        std::string* message) {
    const QImage image = renderBarcode(code, set, message);
    if (image.isNull()) return false;

    // QSaveFile writes beside the target and renames over it on commit, so a
    // failure part-way leaves the old file (or no file) rather than half a
    // picture.
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) {
        tell(message, cannotWrite(path, file.errorString()));
        return false;
    }
    QImageWriter writer(&file, "bmp");
    if (!writer.write(image)) {
        file.cancelWriting();
        tell(message, cannotWrite(path, writer.errorString()));
        return false;
    }
    if (!file.commit()) {
        tell(message, cannotWrite(path, file.errorString()));
        return false;
    }
    return true;
}

std::string bookBarcodePath(const std::string& databaseDirectory, const std::string& itemCode) {
    return databaseDirectory + "imgbcbook/" + core::trim(itemCode) + ".bmp";
}

std::string memberBarcodePath(const std::string& databaseDirectory, const std::string& memberCode) {
    return databaseDirectory + "imgbcmember/" + core::trim(memberCode) + ".bmp";
}

}  // namespace printing
