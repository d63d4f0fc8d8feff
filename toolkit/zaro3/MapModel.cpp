#include "MapModel.h"

#include "MapWriter.h"

namespace zaro3 {

void MapEntity::Set(const std::string& key, std::string text) {
  for (KeyValue& kv : keys) {
    if (kv.key == key) {
      kv.text = std::move(text);
      kv.measures.clear();
      return;
    }
  }
  keys.push_back({key, std::move(text), {}});
}

void MapEntity::SetMeasure(const std::string& key, DoomMeasure value) {
  Set(key, "");
  for (KeyValue& kv : keys) {
    if (kv.key == key) kv.measures = {value};
  }
}

void MapEntity::SetPoint(const std::string& key, int64_t x, int64_t y, int64_t z) {
  Set(key, "");
  for (KeyValue& kv : keys) {
    if (kv.key == key) kv.measures = {DoomMeasure::Units(x), DoomMeasure::Units(y), DoomMeasure::Units(z)};
  }
}

const KeyValue* MapEntity::Find(const std::string& key) const {
  for (const KeyValue& kv : keys) {
    if (kv.key == key) return &kv;
  }
  return nullptr;
}

std::string MapEntity::Text(const std::string& key) const {
  const KeyValue* kv = Find(key);
  if (!kv) return "";
  return FormatValue(*kv, Scale{1, 0});
}

void NameBrushEntity(MapEntity& entity, const std::string& name) {
  entity.Set("name", name);
  entity.Set("model", name);
}

}  // namespace zaro3
