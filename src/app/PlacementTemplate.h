#pragma once
// Dialog template 102 and the main window's fixed texts live with the other front ends' shared
// tables.

#include "dialog/WindowTemplateTables.h"
