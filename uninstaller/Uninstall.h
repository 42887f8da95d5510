// What the uninstall program does once it runs where it may remove the installation.
#pragma once

// Asks the Deinstall question in the installation's language and removes what the setup
// program's Deinstall removes, the record last; says when nothing is installed.
void Uninstall();
