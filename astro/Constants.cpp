#include "astro/Constants.h"

#include <cmath>

long double Pi = 0.0L;
long double ArcsecondInRadians = 0.0L;

void InitialiseConstants() {
    Pi = acosl(-1.0L);
    ArcsecondInRadians = Pi * 1.5432098765432098e-06L;
}
