// Loaded by module_test through plat::Module.
extern "C" int PlatformTestAnswer(int offset) {
    return 42 + offset;
}
