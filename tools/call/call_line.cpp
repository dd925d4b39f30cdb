#include "call_line.h"

#include <cctype>

std::vector<std::string> SplitCallLine(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  std::size_t i = 0;
  const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  while (i < line.size() && blank(line[i])) ++i;
  if (i < line.size() && line[i] == '#') return words;
  for (; i < line.size(); ++i) {
    const char c = line[i];
    if (blank(c)) {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else if (c == '\'') {
      const auto close = line.find('\'', i + 1);
      if (close == std::string::npos) throw CallLineError("aspas simples sem fechamento");
      word.append(line, i + 1, close - i - 1);
      i = close;
      inWord = true;
    } else if (c == '"') {
      std::size_t j = i + 1;
      for (; j < line.size() && line[j] != '"'; ++j) {
        if (line[j] == '\\' && j + 1 < line.size() && (line[j + 1] == '"' || line[j + 1] == '\\')) ++j;
        word += line[j];
      }
      if (j >= line.size()) throw CallLineError("aspas duplas sem fechamento");
      i = j;
      inWord = true;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(std::move(word));
  return words;
}
