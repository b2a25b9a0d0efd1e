// Text of the package error.
#include "package/packageerror.h"

namespace pictoralia {

std::string PackageErrorText()
{
    return "The screen saver can not run because of one of the following reasons:\r\n"
           "\r\n"
           "* The file is corrupted\r\n"
           "* Your computer is out of resources\r\n"
           "* Windows error";
}

} // namespace pictoralia
