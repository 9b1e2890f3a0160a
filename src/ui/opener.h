#pragma once
// The Opener seam: documents and web addresses handed to the desktop's
// default applications.

#include <QString>

namespace ui {

class Opener {
public:
    virtual ~Opener() = default;
    // Opens a file with the application associated with it; false when the
    // desktop could not.
    virtual bool openDocument(const QString& path) = 0;
    // Opens a web address in the user's browser.
    virtual bool openUrl(const QString& address) = 0;
};

class DesktopOpener : public Opener {
public:
    bool openDocument(const QString& path) override;
    bool openUrl(const QString& address) override;
};

}  // namespace ui
