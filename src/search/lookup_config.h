#pragma once
// Where the outside catalogues and bookshops live, and the partner values
// they are called with. This is the one place to change a host or a value;
// every lookup address is built from here.

#include <string>

namespace search {

struct LookupConfig {
    // Amazon product search, with the shop's partner tag.
    std::string amazonHost = "www.amazon.com";
    std::string amazonPartnerTag = "tovirak-20";
    // WorldCat, with the affiliate partner id.
    std::string worldCatHost = "www.worldcat.org";
    std::string worldCatPartnerId = "tovirak";
    std::string isbnDbHost = "isbndb.com";
    // The Dewey classification browser (Tools button and DDC window).
    std::string deweyHost = "classify.oclc.org";
    // Library of Congress catalogue, with the fixed PID value its search page takes.
    std::string congressHost = "catalog.loc.gov";
    std::string congressPid = "tovirak";
    std::string londonHost = "encore.lpl.ca";
    std::string australiaHost = "www.nla.gov.au";
    std::string singaporeHost = "www.nlb.gov.sg";
    std::string jogjaHost = "www.jogjalib.com";
};

// The values the program runs with.
inline const LookupConfig& lookupConfig() {
    static const LookupConfig config;
    return config;
}

}  // namespace search
