#include "z_table.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

#include "normcalc/core.h"

namespace normcalc::cli {

namespace {

constexpr const char* kColumnGap = "  ";

// The labels as the table prints them, with the decimal mark in use.
std::string WithMark(std::string text, char mark) {
  std::replace(text.begin(), text.end(), '.', mark);
  return text;
}

std::string RowLabel(int row, char mark) {
  return WithMark(std::to_string(row / 10) + "." + std::to_string(row % 10), mark);
}

std::string ColumnLabel(int column, char mark) {
  return WithMark("0.0" + std::to_string(column), mark);
}

// The answer as shown: x2p's own text, or the double rounded to digits
// decimals (correctly, from its exact binary value) with trailing zeros kept,
// so that a printed column lines up.
std::string CellAnswer(int row, int column, int digits, char mark) {
  const double p = XToP(ReadNumber(ZTableCellText(row, column)));
  if (digits == 0) return WriteNumber(p, mark);
  std::array<char, 64> buffer{};
  const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), p,
                                 std::chars_format::fixed, digits)
                       .ptr;
  return WithMark(std::string(buffer.data(), end), mark);
}

std::string Title(int digits) {
  std::string title = "N(0,1): P = f(0<x<z), the area from 0 to z";
  if (digits > 0) {
    title += ", rounded to " + std::to_string(digits) + (digits == 1 ? " decimal" : " decimals") +
             " for print";
  }
  return title;
}

// Row 0 holds the titles ("z" and the column labels); rows 1 to 40 the table.
using Grid = std::vector<std::vector<std::string>>;

Grid Cells(int digits, char mark) {
  Grid grid(kZTableRows + 1);
  grid[0].push_back("z");
  for (int column = 0; column < kZTableColumns; ++column) {
    grid[0].push_back(ColumnLabel(column, mark));
  }
  for (int row = 0; row < kZTableRows; ++row) {
    std::vector<std::string>& line = grid[static_cast<std::size_t>(row) + 1];
    line.push_back(RowLabel(row, mark));
    for (int column = 0; column < kZTableColumns; ++column) {
      line.push_back(CellAnswer(row, column, digits, mark));
    }
  }
  return grid;
}

// Columns padded to their widest cell, numbers left-aligned so that their
// marks line up; no blanks at the ends of lines.
std::string AsText(const Grid& grid, int digits) {
  std::vector<std::size_t> widths(grid[0].size(), 0);
  for (const auto& line : grid) {
    for (std::size_t i = 0; i < line.size(); ++i) widths[i] = std::max(widths[i], line[i].size());
  }
  std::string text = Title(digits) + "\n\n";
  for (const auto& line : grid) {
    for (std::size_t i = 0; i < line.size(); ++i) {
      text += line[i];
      if (i + 1 < line.size()) text += std::string(widths[i] - line[i].size(), ' ') + kColumnGap;
    }
    text += '\n';
  }
  return text;
}

// A field with the delimiter in it (a "," mark) is quoted, so that the file
// keeps eleven columns.
std::string CsvField(const std::string& field) {
  if (field.find_first_of(",\"") == std::string::npos) return field;
  std::string quoted = "\"";
  for (const char c : field) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string AsCsv(const Grid& grid) {
  std::string text;
  for (const auto& line : grid) {
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (i > 0) text += ',';
      text += CsvField(line[i]);
    }
    text += '\n';
  }
  return text;
}

// A "|" mark would end the cell.
std::string MarkdownCell(const std::string& cell) {
  std::string escaped;
  for (const char c : cell) escaped += c == '|' ? std::string("\\|") : std::string(1, c);
  return escaped;
}

std::string AsMarkdown(const Grid& grid, int digits) {
  // In a code span, so that "<x<z" is not taken for markup.
  // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) about
  // "literal" + std::string&& once the call is inlined.
  std::string text = "`";
  text += Title(digits);
  text += "`\n\n";
  for (std::size_t r = 0; r < grid.size(); ++r) {
    text += '|';
    for (const std::string& cell : grid[r]) {
      text += ' ';
      text += MarkdownCell(cell);
      text += " |";
    }
    text += '\n';
    if (r == 0) {
      text += '|';
      for (std::size_t i = 0; i < grid[r].size(); ++i) text += "---|";
      text += '\n';
    }
  }
  return text;
}

}  // namespace

std::string ZTableCellText(int row, int column) {
  return std::to_string(row / 10) + "." + std::to_string(row % 10) + std::to_string(column);
}

std::string ZTable(TableFormat format, int digits, char mark) {
  const Grid grid = Cells(digits, mark);
  switch (format) {
    case TableFormat::kCsv:
      return AsCsv(grid);
    case TableFormat::kMarkdown:
      return AsMarkdown(grid, digits);
    case TableFormat::kText:
      break;
  }
  return AsText(grid, digits);
}

}  // namespace normcalc::cli
