#pragma once
// The lookup data files of data/, compiled into the library at build time: UTF-8,
// tab-separated, a first line naming the columns.
#include <string_view>

namespace store::embedded {

std::string_view comuniTsv();
std::string_view professioniTsv();
std::string_view parentelaTsv();

}  // namespace store::embedded
