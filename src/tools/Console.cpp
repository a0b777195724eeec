#include "tools/Console.h"

void BuildConsole() {}
