#include "platform/VirtualKeySymbols.h"

#include <array>
#include <utility>

namespace VirtualKeySymbols {
namespace {

// Key symbols as X11's keysymdef.h numbers them (Latin-1 keys are their own code).
constexpr std::array<std::pair<qint64, quint32>, 96> table{{
    {0, 'a'},      {1, 's'},      {2, 'd'},      {3, 'f'},      {4, 'h'},      {5, 'g'},
    {6, 'z'},      {7, 'x'},      {8, 'c'},      {9, 'v'},      {11, 'b'},     {12, 'q'},
    {13, 'w'},     {14, 'e'},     {15, 'r'},     {16, 'y'},     {17, 't'},     {18, '1'},
    {19, '2'},     {20, '3'},     {21, '4'},     {22, '6'},     {23, '5'},     {24, '='},
    {25, '9'},     {26, '7'},     {27, '-'},     {28, '8'},     {29, '0'},     {30, ']'},
    {31, 'o'},     {32, 'u'},     {33, '['},     {34, 'i'},     {35, 'p'},     {36, 0xff0d},
    {37, 'l'},     {38, 'j'},     {39, '\''},    {40, 'k'},     {41, ';'},     {42, '\\'},
    {43, ','},     {44, '/'},     {45, 'n'},     {46, 'm'},     {47, '.'},     {48, 0xff09},
    {49, ' '},     {50, '`'},     {51, 0xff08},  {53, 0xff1b},  {65, 0xffae},  {67, 0xffaa},
    {69, 0xffab},  {71, 0xff0b},  {75, 0xffaf},  {76, 0xff8d},  {78, 0xffad},  {81, 0xffbd},
    {82, 0xffb0},  {83, 0xffb1},  {84, 0xffb2},  {85, 0xffb3},  {86, 0xffb4},  {87, 0xffb5},
    {88, 0xffb6},  {89, 0xffb7},  {91, 0xffb8},  {92, 0xffb9},  {96, 0xffc2},  {97, 0xffc3},
    {98, 0xffc4},  {99, 0xffc0},  {100, 0xffc5}, {101, 0xffc6}, {103, 0xffc8}, {105, 0xffca},
    {106, 0xffcd}, {107, 0xffcb}, {109, 0xffc7}, {111, 0xffc9}, {113, 0xffcc}, {114, 0xff6a},
    {115, 0xff50}, {116, 0xff55}, {117, 0xffff}, {118, 0xffc1}, {119, 0xff57}, {120, 0xffbf},
    {121, 0xff56}, {122, 0xffbe}, {123, 0xff51}, {124, 0xff53}, {125, 0xff54}, {126, 0xff52},
}};

} // namespace

std::optional<quint32> keySymbolFor(qint64 virtualKeyCode) {
    for (const auto& [code, symbol] : table) {
        if (code == virtualKeyCode)
            return symbol;
    }
    return std::nullopt;
}

std::optional<qint64> virtualKeyCodeFor(quint32 keySymbol) {
    // Upper-case letters are the same keys as lower-case ones.
    if (keySymbol >= 'A' && keySymbol <= 'Z')
        keySymbol += 'a' - 'A';
    for (const auto& [code, symbol] : table) {
        if (symbol == keySymbol)
            return code;
    }
    return std::nullopt;
}

} // namespace VirtualKeySymbols
