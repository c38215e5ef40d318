#include "sprite_header.h"

#include <cctype>
#include <map>

#include "image.h"

namespace {

std::string CamelCase(const NamedIds& named) {
  std::string identifier;
  bool upper = true;
  for (char c : named.name) {
    if (c == '_') {
      upper = true;
      continue;
    }
    if (!std::isalnum(static_cast<unsigned char>(c)))
      throw BuildError(Where(named.file, named.line) + "sprite name '" + named.name +
                       "' cannot name a constant");
    identifier += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
    upper = false;
  }
  if (identifier.empty() || std::isdigit(static_cast<unsigned char>(identifier[0])))
    throw BuildError(Where(named.file, named.line) + "sprite name '" + named.name +
                     "' cannot name a constant");
  return identifier;
}

}  // namespace

std::string SpriteIdHeader(const Manifest& manifest) {
  std::string text =
      "// Sprite ids by name, made by resbuild from the sprite manifest: do not edit.\n"
      "#pragma once\n\n#include <cstdint>\n\nnamespace Sprite {\n\n";
  std::map<std::string, const NamedIds*> taken;
  auto add = [&](const std::string& identifier, int value, const NamedIds& named) {
    auto [it, added] = taken.emplace(identifier, &named);
    if (!added)
      throw BuildError(Where(named.file, named.line) + "'" + identifier + "' is already named at " +
                       Where(it->second->file, it->second->line));
    text += "constexpr int32_t " + identifier + " = " + std::to_string(value) + ";\n";
  };
  for (const NamedIds& named : manifest.names) {
    const std::string identifier = CamelCase(named);
    add(identifier, named.first, named);
    if (named.range) add(identifier + "Count", named.count, named);
  }
  return text + "\n}  // namespace Sprite\n";
}
