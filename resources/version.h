/* The program's version, for its resources and its code alike. */
#pragma once

#define KEL_VERSION_NUMBERS 1, 0, 0, 0
#define KEL_VERSION_TEXT "1.0.0.0"
