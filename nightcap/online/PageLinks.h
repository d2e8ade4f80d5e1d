// The links of a page: every src="..." and href="..." value, made absolute against the page's URL.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace nightcap {

struct LinkBases {
    std::string site;    // "http://host"
    std::string folder;  // "http://host/a/b/": the folder of the page
};

// Nothing when nothing is left of the URL once "http://" is removed.
std::optional<LinkBases> LinkBasesOf(const std::string& url);

// All src=" links first, then all href=" links, each in page order; a link without its closing quote is
// left out. "/x" gets the site put in front, a link not starting with "http://" the page folder.
std::vector<std::string> LinksOf(const std::string& page, const LinkBases& bases);

}  // namespace nightcap
