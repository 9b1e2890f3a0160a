#pragma once
// Code 128 barcode pictures of item codes and member codes: drawn into an
// image for the windows' live previews and written as Windows bitmaps that
// the label and card prints place into their documents.

#include <QImage>
#include <string>

namespace printing {

// How the characters of a code are packed into Code 128 symbols.
//   C: digits two to a symbol (item codes). Text that is not an even run of
//      digits still encodes: the rest goes into the other code sets.
//   A: one symbol per character (member codes), so a barcode is as wide as
//      a code set A barcode of the same text. libzint 2.11 cannot be told
//      which start character to use; it writes these in code set B, which
//      scans to the same text and also holds lower-case letters.
enum class CodeSet { C, A };

// Geometry of every barcode picture, in pixels unless named otherwise.
// A module (the narrowest bar) is 2 pixels wide, and the file records 8000
// pixels per metre, so at its natural size a module prints 0.25 mm wide
// and an item code's barcode about 36 mm.
inline constexpr int kModulePixels = 2;
inline constexpr int kPixelsPerMetre = 8000;
// White space left and right of the bars: the 10 modules that Code 128
// needs to scan. The picture has no other margin.
inline constexpr int kQuietZoneModules = 10;
inline constexpr int kBarHeightPixels = 80;
// Gap between the bars and the human-readable text below them.
inline constexpr int kTextGapPixels = 4;
inline constexpr int kTextPixelSize = 24;
inline constexpr const char* kTextFontFamily = "Liberation Sans";

// Draws the barcode of the trimmed code: black bars on white with the
// quiet zone at both sides and the trimmed code centred below the bars in
// Liberation Sans. The image is exactly as large as that drawing. Returns a
// null image when the trimmed code is empty, when libzint refuses it (a
// character outside Latin-1, a code too long), or when no QGuiApplication
// exists to draw text with; `message`, when given, then receives why.
QImage renderBarcode(const std::string& code, CodeSet set, std::string* message = nullptr);

// Draws the barcode as renderBarcode does and saves it as a Windows bitmap
// (.bmp) at `path`, replacing a file of that name. The folder must exist.
// The file is written whole or not at all: on any failure an existing file
// is left as it was. Returns false on failure; `message`, when given, then
// receives why.
bool writeBarcodeBitmap(const std::string& path, const std::string& code, CodeSet set,
                        std::string* message = nullptr);

// Where the barcode pictures live. `databaseDirectory` ends with its
// separator; the code is trimmed, so that writers and the prints that read
// the picture back by the stored (trimmed) code agree on the name.
//   bookBarcodePath("/data/", "1201205140001")
//       -> "/data/imgbcbook/1201205140001.bmp"
//   memberBarcodePath("/data/", "ELDEST.RIVERSIDE")
//       -> "/data/imgbcmember/ELDEST.RIVERSIDE.bmp"
std::string bookBarcodePath(const std::string& databaseDirectory, const std::string& itemCode);
std::string memberBarcodePath(const std::string& databaseDirectory, const std::string& memberCode);

}  // namespace printing
