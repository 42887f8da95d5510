// std::string's members are compiled here, with the program's flags, instead of being taken from
// the runtime library's prebuilt copy: that copy comes as one piece with its exception handling,
// and the linker keeps all of it. Compiled here, only the members that the program calls stay.
#include <string>

template class std::basic_string<char>;
