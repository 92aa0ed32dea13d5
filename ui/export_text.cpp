#include "ui/export_text.h"

#include "framework/text.h"

const char BLUE_TAG[] = "<#0000FF>";

std::string RemoveBlueTags(std::string_view text) {
    std::string out(text);
    ReplaceAll(out, BLUE_TAG, "");
    return out;
}
