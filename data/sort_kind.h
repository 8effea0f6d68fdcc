#pragma once
// How rows are compared and ordered when a data object sorts them.
enum SORT_TYPE : int {
    SORT_NONE = 0,  // keep the order
    SORT_STR = 1,   // ordinal comparison of the texts
    SORT_FLOAT = 2, // the number in the text, with a decimal point
    SORT_INT = 3,   // the integer in the text
};

enum SORT_ORDER : int {
    SORT_ASC = 0,
    SORT_DESC = 1,
};
