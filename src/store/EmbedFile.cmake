# Turns a data file into a C++ source defining store::embedded::<NAME>Tsv().
# Usage: cmake -DINPUT=file -DOUTPUT=file.cpp -DNAME=name -P EmbedFile.cmake
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE "${OUTPUT}" "// Generated from ${INPUT}; edit that file instead.
#include \"store/EmbeddedData.h\"

namespace store::embedded {

namespace {
const unsigned char kBytes[] = {
    ${bytes}0x00};
}  // namespace

std::string_view ${NAME}Tsv() {
    return {reinterpret_cast<const char*>(kBytes), sizeof kBytes - 1};
}

}  // namespace store::embedded
")
