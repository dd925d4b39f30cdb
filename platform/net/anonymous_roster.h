#pragma once
// The connections that have not logged in yet, by client address and in the
// order they came. When a newcomer finds no place, the server closes one of
// them to make room: the oldest of the address that holds the most, so that
// an address opening connections it never logs in on pays first, and a
// client that connects to log in is not kept out by them. Not thread-safe:
// the server's I/O thread owns it.

#include <algorithm>
#include <cstddef>
#include <functional>
#include <list>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

template <class Handle>
class AnonymousRoster {
 public:
  void add(const Handle& h, const std::string& address) {
    byAddress_[address].push_back(h);
    ++size_;
  }
  // When it logged in or closed; nothing when it was not here.
  void remove(const Handle& h, const std::string& address) {
    auto it = byAddress_.find(address);
    if (it == byAddress_.end()) return;
    auto& list = it->second;
    const auto found = std::find(list.begin(), list.end(), h);
    if (found == list.end()) return;
    list.erase(found);
    --size_;
    if (list.empty()) byAddress_.erase(it);
  }
  std::size_t size() const { return size_; }
  std::size_t countOf(const std::string& address) const {
    auto it = byAddress_.find(address);
    return it == byAddress_.end() ? 0 : it->second.size();
  }
  // The one to close for a newcomer among those `closable` accepts (one
  // whose login is being checked is not): the oldest of `address` when
  // given, else the oldest of the address holding the most.
  std::optional<Handle> displaceable(const std::function<bool(const Handle&)>& closable,
                                     const std::string& address = {}) const {
    std::vector<const std::list<Handle>*> order;
    if (!address.empty()) {
      if (auto it = byAddress_.find(address); it != byAddress_.end()) order.push_back(&it->second);
    } else {
      for (const auto& [a, list] : byAddress_) order.push_back(&list);
      std::stable_sort(order.begin(), order.end(), [](auto x, auto y) { return x->size() > y->size(); });
    }
    for (const auto* list : order)
      for (const Handle& h : *list)
        if (closable(h)) return h;
    return std::nullopt;
  }

 private:
  std::map<std::string, std::list<Handle>> byAddress_;
  std::size_t size_ = 0;
};
