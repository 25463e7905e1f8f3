#pragma once

#include <string>

namespace korvale::platform {

// Removes the temporary files that a save of `target` killed half-way left beside it:
// "Rede.txt.tmp-" followed by anything, older than a minute (a younger one may belong to a save
// that another running copy is making right now). Whatever cannot be listed or removed is left;
// this never fails. One implementation per platform, beside the rest of its file services.
void removeLeftoverTemporaries(const std::string& target) noexcept;

}  // namespace korvale::platform
