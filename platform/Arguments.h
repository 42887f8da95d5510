// The arguments of a command line: pure rules on its text, which both programs share.
#pragma once

#include <string>
#include <vector>

// Splits the text after the program's name into arguments: blanks and tabs separate them outside
// double quotes; the quotes group and are dropped. False for a quote that is never closed.
bool SplitArguments(const std::string& strLine, std::vector<std::string>& arguments);

// The command line without the program's own name, which comes first, quoted or not.
std::string ArgumentsAfterProgram(const std::string& strCommandLine);
