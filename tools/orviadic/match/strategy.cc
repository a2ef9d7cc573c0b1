#include "match/strategy.h"

namespace orviadic::match {

std::optional<Strategy> strategyNamed(std::string_view name) {
  for (const StrategyInfo& info : kStrategies)
    if (name == info.name) return info.strategy;
  return std::nullopt;
}

const char* nameOf(Strategy strategy) {
  for (const StrategyInfo& info : kStrategies)
    if (info.strategy == strategy) return info.name;
  return "";
}

}  // namespace orviadic::match
