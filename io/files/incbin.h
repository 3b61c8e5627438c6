#pragma once

// A file's bytes in the program's read-only data, placed there by the assembler: a program that
// never reads them never touches their pages. GYRENA_INCBIN(name, "path") declares and defines
// `name_begin` and `name_end` (extern "C" char arrays, hidden from other modules), with one zero
// byte after the end. The path is a string literal the build passes, as the assembler reads it.

#define GYRENA_INCBIN(symbol, file)                                                                \
    extern "C" const char symbol##_begin[];                                                        \
    extern "C" const char symbol##_end[];                                                          \
    __asm__(".pushsection .rodata\n"                                                               \
            ".balign 16\n"                                                                         \
            ".globl " #symbol "_begin\n"                                                           \
            ".hidden " #symbol "_begin\n" #symbol "_begin:\n"                                      \
            ".incbin \"" file "\"\n"                                                               \
            ".globl " #symbol "_end\n"                                                             \
            ".hidden " #symbol "_end\n" #symbol "_end:\n"                                          \
            ".byte 0\n"                                                                            \
            ".popsection\n")
