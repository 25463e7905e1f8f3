#pragma once

// Switches the tests turn to reach what the machine they run on cannot make.
namespace korvale::platform::seams {

// Windows: every file is taken for a symbolic link, so that the check of a link's owner runs on
// it (Wine makes no links).
inline bool takeFilesForLinks = false;

}  // namespace korvale::platform::seams
