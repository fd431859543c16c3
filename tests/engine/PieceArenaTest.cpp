#include "engine/common/PieceArena.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <random>
#include <thread>
#include <vector>

namespace engine {
namespace {

struct Piece {
  unsigned char* start;
  std::size_t bytes;
  unsigned char fill;
};

// Pieces of mixed sizes (some too large for a slab) held at once never
// overlap, are aligned, and keep what was written in them while others come
// and go; replayed by number.
TEST(PieceArena, LivePiecesNeverOverlapAndKeepTheirBytes) {
  for (unsigned number = 0; number < 20; ++number) {
    std::mt19937 random(number);
    PieceArena arena;
    std::vector<Piece> live;
    const auto check = [&](const Piece& piece) {
      for (std::size_t i = 0; i < piece.bytes; ++i) ASSERT_EQ(piece.start[i], piece.fill) << "case " << number;
    };
    for (int step = 0; step < 6000; ++step) {
      if (live.empty() || random() % 3 != 0) {
        const std::size_t bytes = random() % 16 == 0 ? 1 + random() % 9000 : 1 + random() % 600;
        auto* start = static_cast<unsigned char*>(arena.Allocate(bytes));
        ASSERT_EQ(reinterpret_cast<std::uintptr_t>(start) % 8, 0u);
        const auto fill = static_cast<unsigned char>(random());
        std::memset(start, fill, bytes);
        live.push_back({start, bytes, fill});
      } else {
        const std::size_t pick = random() % live.size();
        check(live[pick]);
        arena.Release(live[pick].start, live[pick].bytes);
        live.erase(live.begin() + static_cast<std::ptrdiff_t>(pick));
      }
    }
    std::map<unsigned char*, std::size_t> byStart;
    for (const Piece& piece : live) {
      check(piece);
      byStart[piece.start] = piece.bytes;
    }
    ASSERT_EQ(byStart.size(), live.size());
    for (auto it = byStart.begin(); it != byStart.end() && std::next(it) != byStart.end(); ++it)
      ASSERT_LE(it->first + it->second, std::next(it)->first) << "case " << number;
    for (const Piece& piece : live) arena.Release(piece.start, piece.bytes);
  }
}

// A document's pieces given back, in any order, return their slabs to the
// heap but the one pieces are cut from, which serves the next document.
TEST(PieceArena, SlabsGoBackWithTheirLastPiece) {
  PieceArena arena;
  std::vector<Piece> pieces;
  for (int i = 0; i < 5000; ++i) pieces.push_back({static_cast<unsigned char*>(arena.Allocate(100)), 100, 0});
  const std::size_t slabs = arena.SlabCount();
  if (slabs == 0) {
    for (const Piece& piece : pieces) arena.Release(piece.start, piece.bytes);
    GTEST_SKIP() << "pieces come from the heap under the address sanitizer";
  }
  EXPECT_GE(slabs, 5000u * 100 / PieceArena::kSlabBytes);
  std::shuffle(pieces.begin(), pieces.end(), std::mt19937(7));
  for (const Piece& piece : pieces) arena.Release(piece.start, piece.bytes);
  EXPECT_EQ(arena.SlabCount(), 1u);
  void* again = arena.Allocate(100);
  EXPECT_EQ(arena.SlabCount(), 1u);
  arena.Release(again, 100);
  arena.Release(nullptr, 0);
  EXPECT_EQ(arena.SlabCount(), 1u);
}

// Pieces given back on another thread while this one takes more stay apart,
// and every slab but one goes back once all pieces are.
TEST(PieceArena, PiecesGivenBackFromAnotherThreadStayApart) {
  PieceArena arena;
  std::vector<unsigned char*> held;
  const auto take = [&] {
    for (int i = 0; i < 20000; ++i) {
      auto* piece = static_cast<unsigned char*>(arena.Allocate(24));
      std::memset(piece, 0x5A, 24);
      held.push_back(piece);
    }
  };
  take();
  for (int round = 0; round < 5; ++round) {
    std::thread freer([&arena, given = std::move(held)] {
      for (unsigned char* piece : given) arena.Release(piece, 24);
    });
    held.clear();
    take();
    freer.join();
    std::vector<unsigned char*> sorted = held;
    std::sort(sorted.begin(), sorted.end());
    for (std::size_t i = 1; i < sorted.size(); ++i) ASSERT_GE(sorted[i] - sorted[i - 1], 24) << "round " << round;
  }
  for (unsigned char* piece : held) arena.Release(piece, 24);
  EXPECT_LE(arena.SlabCount(), 1u);
}

}  // namespace
}  // namespace engine
