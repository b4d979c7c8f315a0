#include "scope/arrangeingrid.h"

#include <cmath>

void ArrangeInGrid(int N, int& A, int& B, int* Major, int* Minor)
{
    if (N < 1) {
        A = 1;
        B = 1;
        return;
    }
    A = int(std::ceil(std::sqrt(double(N))));
    B = A - 1;
    if (A * (A - 1) < N)
        B = A;
    for (int i = 0; i < N; ++i) {
        Major[i] = i / B;
        Minor[i] = i % B;
    }
}
