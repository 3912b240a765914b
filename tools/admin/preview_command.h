#pragma once
// k5x7-admin preview FILE OUT.png [--size WxH]: the thumbnail the information
// page shows, drawn without a display. With OUT.pdf [--fit A4]: the pages the
// viewer prints, on the drawing's own paper at scale.

#include <iosfwd>
#include <string>
#include <vector>

namespace admin {

int RunPreviewCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace admin
