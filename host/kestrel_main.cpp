#include <cstdio>
int main() { std::puts("kestrel 0.1.0"); return 0; }
