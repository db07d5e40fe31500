// A program that ends at once with exit code 0 and shows nothing: what some Wine builds make of a
// program they cannot run. qsrun must not take it for a setup program that succeeded.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
