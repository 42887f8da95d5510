// Folder links for the removal tests, made as the host's symbolic links: Wine shows them as
// folders with the reparse-point attribute.
#pragma once

#include <string>

// Makes strLink a link to the folder strTarget; both are Windows paths. Returns once the link
// answers, false when it does not.
bool MakeFolderLink(const std::string& strLink, const std::string& strTarget);
// Removes the link itself, never what it points to.
void RemoveFolderLink(const std::string& strLink);
