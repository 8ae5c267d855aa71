#include "framework/winapp.hpp"

int main() { return AfxWinMain(); }
