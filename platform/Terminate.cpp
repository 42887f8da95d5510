// The C++ runtime's default terminate handler names the uncaught exception's type and so links
// the whole symbol demangler into the program. No exception leaves the dialog layer, so a plain
// abort is all that handler could ever do here.
#include <cstdlib>

namespace __gnu_cxx
{
void __verbose_terminate_handler()
{
    std::abort();
}
}
