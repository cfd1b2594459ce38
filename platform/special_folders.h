// Folders of the system that have no place in the narrower seams: the Windows
// folder, the system folder and the user's application-data folder.
#pragma once
#include <string>

namespace maqo::platform {

enum class SpecialFolder { Windows, System, AppData };

// The folder's path without a trailing separator (a root keeps its own), or an
// empty text when this system has no such folder.
std::u16string specialFolderPath(SpecialFolder which);

}  // namespace maqo::platform
