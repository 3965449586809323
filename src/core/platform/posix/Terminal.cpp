#include "core/platform/Terminal.h"

#include <unistd.h>

bool Terminal::outputIsOne()
{
    return ::isatty(STDOUT_FILENO) == 1;
}
