#pragma once

// Process-wide constants, set once by InitialiseConstants() before any angle
// is used (the controller does it at start; tools and tests do it first thing).
extern long double Pi;                  // arccos(-1), extended precision
extern long double ArcsecondInRadians;  // Pi * 1.5432098765432098e-06 (pi / 648000)

void InitialiseConstants();
