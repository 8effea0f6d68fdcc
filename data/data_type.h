#pragma once
// The data type codes of record fields and values. The numbers are fixed: they are stored in
// record layouts and compared in conversion tables.
enum DT_DATA_TYPE : int {
    DT_NONE = 0,
    DT_INT = 1,     // signed 32-bit integer, 4 bytes
    DT_UINT = 2,    // unsigned 32-bit integer, 4 bytes
    DT_STR = 3,     // fixed-width string of the process code page, declared size
    DT_PT_STR = 4,  // variable-length string held outside the record; 4 bytes (a handle)
    DT_BOOL = 7,    // 32-bit integer 0 or 1
    DT_DOUBLE = 8,  // 64-bit floating point
    DT_CHAR = 9,    // one 8-bit character
    DT_INT64 = 11,  // signed 64-bit integer
    DT_STRUCT = 12, // the rows of an inner structure: count x inner record size
    DT_BLOB = 13,   // binary block, declared size
    DT_FLOAT = 14,  // 32-bit floating point
};
