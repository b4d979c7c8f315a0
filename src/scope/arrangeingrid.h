#pragma once
// Lays N charge discs out in a grid of A rows along the plate's length and
// B columns across it.

// Major and Minor must hold at least N entries.
void ArrangeInGrid(int N, int& A, int& B, int* Major, int* Minor);
