// How a modal dialog ended.
#pragma once

enum {
    RESULT_OK = 1,
    RESULT_CANCEL = 2,
};
