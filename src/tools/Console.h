#pragma once

// The developer console window. (Being built.)
void BuildConsole();
