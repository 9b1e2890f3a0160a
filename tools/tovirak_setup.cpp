// tovirak-setup DIR [--demo]: creates a new installation in DIR (the system
// directory and the database directory at once).

#include <cstdio>
#include <cstring>
#include <string>

#include "app/installation.h"
#include "core/error.h"

int main(int argc, char** argv) {
    std::string dir;
    app::InstallationOptions options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--demo") == 0)
            options.demo = true;
        else if (std::strncmp(argv[i], "--data=", 7) == 0)
            options.dataDirectory = argv[i] + 7;
        else if (dir.empty() && argv[i][0] != '-')
            dir = argv[i];
        else {
            std::fprintf(stderr, "tovirak-setup: unknown option %s\n", argv[i]);
            return 2;
        }
    }
    if (dir.empty()) {
        std::fprintf(stderr, "usage: tovirak-setup DIR [--demo]\n");
        return 2;
    }
    try {
        app::createInstallation(dir, options);
    } catch (const core::Error& e) {
        std::fprintf(stderr, "tovirak-setup: %s\n", e.what());
        return 1;
    }
    std::printf("Installation created in %s%s\n", dir.c_str(), options.demo ? " with demo data" : "");
    std::printf("First login: %s / %s (change the password in FILE, Set)\n", app::kDeliveredAdminName,
                app::kDeliveredAdminPassword);
    return 0;
}
