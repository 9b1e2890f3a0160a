#include "app/word_templates.h"

#include <zip.h>

#include <deque>
#include <vector>

#include "core/error.h"

namespace app {

namespace {

const char* const kContentTypes =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>)"
    R"(</Types>)";

const char* const kRootRelations =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/>)"
    R"(</Relationships>)";

// One paragraph per line; a bold line where asked.
std::string document(const std::vector<std::pair<std::string, bool>>& lines, bool landscape) {
    std::string body;
    for (const auto& [text, bold] : lines) {
        body += "<w:p><w:r>";
        if (bold) body += "<w:rPr><w:b/></w:rPr>";
        body += "<w:t xml:space=\"preserve\">" + text + "</w:t></w:r></w:p>";
    }
    const std::string size = landscape ? R"(<w:pgSz w:w="16838" w:h="11906" w:orient="landscape"/>)"
                                       : R"(<w:pgSz w:w="11906" w:h="16838"/>)";
    return R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
           R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body>)" +
           body + "<w:sectPr>" + size +
           R"(<w:pgMar w:top="567" w:right="567" w:bottom="567" w:left="567" w:header="0" w:footer="0" w:gutter="0"/>)"
           "</w:sectPr></w:body></w:document>";
}

void writeDocument(const std::string& path, const std::string& documentXml) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive) throw core::Error("Cannot write the template \"" + path + "\"");
    // libzip reads the buffers when the archive is closed: they live until then.
    std::deque<std::string> keep;
    auto add = [&](const char* name, const std::string& content) {
        keep.push_back(content);
        zip_source_t* src = zip_source_buffer(archive, keep.back().data(), keep.back().size(), 0);
        if (!src || zip_file_add(archive, name, src, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
            if (src) zip_source_free(src);
            return false;
        }
        return true;
    };
    const bool ok = add("[Content_Types].xml", kContentTypes) && add("_rels/.rels", kRootRelations) &&
                    add("word/document.xml", documentXml);
    if (!ok) {
        zip_discard(archive);
        throw core::Error("Cannot write the template \"" + path + "\"");
    }
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        throw core::Error("Cannot write the template \"" + path + "\"");
    }
}

}  // namespace

void writeStartingTemplates(const std::string& dot) {
    writeDocument(dot + "/LabelBukuPlusBarcode.dot",
                  document({{"#KDBARANG#", true}, {"#RM# #RK# #RW#", false}, {"#UDC# #DDC# #AUT#", false},
                            {"#BARCODE#", false}},
                           false));
    const std::vector<std::pair<std::string, bool>> card = {{"LIBRARY MEMBER CARD", true},
                                                            {"#NMANGGOTA#", true},
                                                            {"Member: #KDFANGGOTA#", false},
                                                            {"Family: #KDFKELUARGA#", false},
                                                            {"#PHOTO#", false},
                                                            {"#BARCODE#", false}};
    writeDocument(dot + "/membercardBolakBalikLandscape.dot", document(card, true));
    writeDocument(dot + "/membercardBolakBalikPortrait.dot", document(card, false));
    writeDocument(dot + "/stockopname.dot", document({{"#RM# #RK# #RW#   #TITLE#", false}}, false));
}

}  // namespace app
