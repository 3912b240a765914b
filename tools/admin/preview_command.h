#pragma once
// k5x7-admin preview FILE OUT.png [--size WxH]: the thumbnail the information
// page shows, drawn without a display.

#include <iosfwd>
#include <string>
#include <vector>

namespace admin {

int RunPreviewCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace admin
