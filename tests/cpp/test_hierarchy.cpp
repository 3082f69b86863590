// The hierarchy modules under the sanitizers: random and adversarial parent
// vectors and matrices end in a result or a known error, never a fault, a
// leak or a changed input; failed allocations are reported and release
// everything; outputs beyond the requested ones are released.
#include "harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using words = std::vector<std::uint32_t>;

const std::uint32_t top = 0xFFFFFFFFu;

harness::ptr row(const words &v) { return harness::uint32s(1, v.size(), v); }

// Parent vectors no caller should send but any may: entries over the whole
// 32-bit range, entries around n and n+1, random functional graphs (long
// cycles of every length), one cycle through all vertices, a path into a
// vertex marked n+1, and the smallest cases.
std::vector<words> adversarial(std::mt19937_64 &rng)
{
  std::vector<words> out = {{}, {0}, {1}, {2}, {top}, {1, 0}, {2, 2}, {3, 3}, {1, 2, 0}};
  for (std::uint32_t n : {5u, 40u, 300u, 3000u}) {
    words any(n), near(n), functional(n), marked(n), cycle(n), path(n);
    for (std::uint32_t i = 0; i < n; ++i) {
      any[i] = static_cast<std::uint32_t>(rng());
      near[i] = static_cast<std::uint32_t>(rng() % (n + 3));
      functional[i] = static_cast<std::uint32_t>(rng() % n);
      marked[i] = rng() % 4 == 0 ? n + 1 : functional[i];
      cycle[i] = (i + 1) % n;
      path[i] = i + 1 < n ? i + 1 : n + 1;
    }
    for (const words *w : {&any, &near, &functional, &marked, &cycle, &path})
      out.push_back(*w);
  }
  return out;
}

// A random forest of n vertices whose roots are self-loops, two-vertex
// cycles or marked n+1, every other vertex hanging below an earlier one of
// a random order; deep ones too (mostly the previous vertex).
words forest(std::mt19937_64 &rng, std::uint32_t n, unsigned chain)
{
  std::vector<std::uint32_t> order(n);
  std::iota(order.begin(), order.end(), 0u);
  std::shuffle(order.begin(), order.end(), rng);
  words p(n);
  for (std::uint32_t k = 0; k < n; ++k) {
    const std::uint32_t v = order[k];
    const unsigned kind = rng() % 100;
    if (k == 0 || kind < 2)
      p[v] = kind == 1 ? n + 1 : v;
    else if (kind < 4 && p[order[k - 1]] == order[k - 1]) {
      p[v] = order[k - 1];
      p[order[k - 1]] = v;
    } else if (kind < chain)
      p[v] = order[k - 1];
    else
      p[v] = order[rng() % k];
  }
  return p;
}

// Independent model of tree_tags: pieces of the graph joining i to p[i]
// by union-find, numbered in order of their lowest vertex not marked n+1;
// a vertex marked n+1 is labelled only when some vertex names it.
struct pieces {
  words labels;
  std::vector<double> sizes;
};
pieces model(const words &p)
{
  const std::size_t n = p.size();
  std::vector<std::size_t> up(n);
  std::iota(up.begin(), up.end(), std::size_t(0));
  auto root = [&](std::size_t v) {
    while (up[v] != v)
      v = up[v] = up[up[v]];
    return v;
  };
  std::vector<bool> named(n, false);
  for (std::size_t i = 0; i < n; ++i)
    if (p[i] < n) {
      named[p[i]] = true;
      up[root(i)] = root(p[i]);
    }
  pieces r{words(n, 0), {}};
  std::vector<std::uint32_t> number(n, 0);
  for (std::size_t i = 0; i < n; ++i)
    if (p[i] != n + 1 && number[root(i)] == 0) {
      r.sizes.push_back(0);
      number[root(i)] = static_cast<std::uint32_t>(r.sizes.size());
    }
  for (std::size_t i = 0; i < n; ++i)
    if (p[i] != n + 1 || named[i]) {
      r.labels[i] = number[root(i)];
      r.sizes[r.labels[i] - 1] += 1;
    }
  return r;
}

// A random n-by-n weight matrix with about `per` entries a column, some
// stored zeros, negative and NaN values, and a diagonal now and then.
harness::ptr weights(std::mt19937_64 &rng, std::size_t n, std::size_t per)
{
  std::set<std::pair<std::size_t, std::size_t>> seen;
  std::vector<harness::entry> e;
  for (std::size_t k = 0; n && k < n * per; ++k) {
    const std::size_t r = rng() % n, c = rng() % n;
    if (!seen.insert({r, c}).second)
      continue;
    const unsigned kind = rng() % 20;
    const double v = kind == 0 ? 0.0 : kind == 1 ? -1.0 : kind == 2 ? NAN : double(rng() % 7);
    e.push_back({r, c, v});
  }
  return harness::sparse(n, n, e);
}

bool known(const std::string &message, std::initializer_list<const char *> texts)
{
  for (const char *t : texts)
    if (message == t)
      return true;
  return false;
}

const char *const bad_entry = "Parent entries must be vertex indices below n, or n+1 for none";

} // namespace

TEST(hierarchy, tree_tags_matches_a_union_find_model_on_every_vector)
{
  std::mt19937_64 rng(11);
  for (const words &p : adversarial(rng)) {
    const std::size_t n = p.size();
    const bool valid =
        std::all_of(p.begin(), p.end(), [&](std::uint32_t v) { return v < n || v == n + 1; });
    for (int nlhs = 0; nlhs <= 3; ++nlhs) {
      harness::ptr in = row(p);
      harness::result r = harness::call("tree_tags", nlhs, {in.get()});
      ASSERT_EQ(r.ok(), valid) << r.message();
      if (!valid) {
        EXPECT_EQ(r.message(), bad_entry);
        continue;
      }
      const pieces want = model(p);
      EXPECT_EQ(harness::words(r.out(0)), want.labels) << "n = " << n;
      EXPECT_EQ(harness::dims(r.out(0)), (std::vector<std::size_t>{n, 1}));
      if (nlhs >= 2) {
        EXPECT_EQ(harness::doubles(r.out(1)), std::vector<double>{double(want.sizes.size())});
      }
      if (nlhs == 3) {
        EXPECT_EQ(harness::doubles(r.out(2)), want.sizes);
      }
    }
  }
}

// Entries that name no vertex are refused; any other vector, cycles of
// every length included, is split: only roots are made.
TEST(hierarchy, tree_cleave_refuses_or_splits_every_vector)
{
  std::mt19937_64 rng(12);
  for (const words &p : adversarial(rng)) {
    const std::size_t n = p.size();
    const bool valid =
        std::all_of(p.begin(), p.end(), [&](std::uint32_t v) { return v < n || v == n + 1; });
    harness::ptr in = row(p);
    harness::result r = harness::call("tree_cleave", 1, {in.get()});
    ASSERT_EQ(r.ok(), valid) << r.message();
    if (!valid) {
      EXPECT_EQ(r.message(), bad_entry);
      continue;
    }
    const words q = harness::words(r.out(0));
    ASSERT_EQ(q.size(), n);
    for (std::size_t v = 0; v < n; ++v)
      EXPECT_TRUE(q[v] == p[v] || q[v] == v);
  }
}

// Every parent vector of up to six vertices (entries 0..n-1 and n+1):
// tree_tags agrees with the model and tree_cleave only makes roots.
TEST(hierarchy, every_small_parent_vector)
{
  for (std::uint32_t n = 1; n <= 6; ++n) {
    std::uint64_t count = 1;
    for (std::uint32_t i = 0; i < n; ++i)
      count *= n + 1;
    words p(n);
    for (std::uint64_t c = 0; c < count; ++c) {
      std::uint64_t x = c;
      for (std::uint32_t i = 0; i < n; ++i, x /= n + 1)
        p[i] = x % (n + 1) == n ? n + 1 : static_cast<std::uint32_t>(x % (n + 1));
      harness::ptr in = row(p);
      harness::result t = harness::call("tree_tags", 1, {in.get()});
      harness::result r = harness::call("tree_cleave", 1, {in.get()});
      ASSERT_TRUE(t.ok() && r.ok()) << c;
      ASSERT_EQ(harness::words(t.out(0)), model(p).labels) << c;
      const words q = harness::words(r.out(0));
      for (std::size_t v = 0; v < n; ++v)
        ASSERT_TRUE(q[v] == p[v] || q[v] == v) << c;
    }
  }
}

// On forests, deep ones included, the split keeps a forest: only roots are
// made, tree_cleave takes its own output again, and the pieces it leaves
// are the model's.
TEST(hierarchy, tree_cleave_keeps_forests)
{
  std::mt19937_64 rng(13);
  std::size_t made = 0;
  for (unsigned chain : {10u, 70u, 97u})
    for (std::uint32_t n : {1u, 7u, 64u, 2000u}) {
      const words p = forest(rng, n, chain);
      harness::ptr in = harness::uint32s(n, 1, p);
      harness::result r = harness::call("tree_cleave", 0, {in.get()});
      ASSERT_TRUE(r.ok()) << r.message();
      const words q = harness::words(r.out(0));
      EXPECT_EQ(harness::dims(r.out(0)), (std::vector<std::size_t>{n, 1}));
      for (std::size_t v = 0; v < n; ++v) {
        EXPECT_TRUE(q[v] == p[v] || q[v] == v);
        made += q[v] != p[v];
      }
      harness::ptr again = row(q);
      harness::result r2 = harness::call("tree_cleave", 1, {again.get()});
      ASSERT_TRUE(r2.ok()) << r2.message();
      harness::result t = harness::call("tree_tags", 1, {again.get()});
      ASSERT_TRUE(t.ok());
      EXPECT_EQ(harness::words(t.out(0)), model(q).labels);
    }
  EXPECT_GT(made, 100u);
}

// The two passes of tree_cleave step by step, on plain arrays: the split
// vector, or false where the module refuses (a first-pass walk of 20
// vertices, a climb of more than n steps).
bool cleave_model(words &q)
{
  const std::size_t n = q.size();
  std::vector<std::int64_t> weight(n, 0), children(n, 0);
  std::vector<bool> done(n, false);
  for (std::size_t i = 0; i < n; ++i)
    if (q[i] < n)
      ++children[q[i]];
  auto wrap = [](std::int64_t x) { return std::int64_t(std::int32_t(std::uint32_t(x))); };
  for (std::size_t j = 0; j < n; ++j) {
    if (children[j] != 0 || done[j] || q[j] >= n)
      continue;
    for (std::size_t s = j;;) {
      std::vector<std::size_t> path{s};
      std::vector<std::int64_t> tally{0};
      std::int64_t fresh = 1;
      bool split = false;
      for (;;) {
        const std::size_t k = path.size() - 1, e = q[path[k]];
        if (e >= n || e == path[k] || (k >= 1 && e == path[k - 1])) {
          split = k >= 6;
          break;
        }
        if (path.size() == 20)
          return false;
        path.push_back(e);
        fresh += !done[e];
        tally.push_back(fresh);
        if (path.size() > 6 && !done[e]) {
          split = true;
          break;
        }
      }
      const std::size_t k = path.size() - 1, h = split ? k / 2 : k;
      if (split) {
        q[path[h]] = static_cast<std::uint32_t>(path[h]);
        --children[path[h + 1]];
        for (std::size_t l = h + 1; l <= k; ++l)
          weight[path[l]] = wrap(weight[path[l]] - weight[path[h]]);
      }
      for (std::size_t l = 0; l <= h; ++l) {
        weight[path[l]] = wrap(weight[path[l]] + tally[l]);
        done[path[l]] = true;
      }
      if (!split || children[path[h + 1]] != 0 || done[path[h + 1]])
        break;
      s = path[h + 1];
    }
  }
  for (std::size_t k0 = 0; k0 < n; ++k0) {
    if (children[k0] != 0 || q[k0] >= n)
      continue;
    for (std::size_t s = k0;;) {
      std::size_t f = s, g = s, parent = 0, steps = 0;
      std::int64_t amount = 0;
      bool cut = false;
      for (std::size_t p = q[f]; p < n && p != g && p != f; g = f, f = p, p = q[f]) {
        if (++steps > n)
          return false;
        if (cut) {
          weight[p] = wrap(weight[p] - amount);
        } else if (weight[f] > 2 && weight[p] - weight[f] > 2) {
          q[f] = static_cast<std::uint32_t>(f);
          --children[p];
          amount = weight[f];
          parent = p;
          cut = true;
          weight[p] = wrap(weight[p] - amount);
        }
      }
      if (!cut || children[parent] != 0)
        break;
      s = parent;
    }
  }
  return true;
}

// tree_cleave gives the model's split, or refuses where the model does, on
// forests shallow and deep and on vectors with cycles of every length.
TEST(hierarchy, tree_cleave_matches_the_model)
{
  std::mt19937_64 rng(16);
  std::vector<words> cases = adversarial(rng);
  for (unsigned chain : {10u, 70u, 97u})
    for (std::uint32_t n : {7u, 64u, 2000u, 20000u})
      cases.push_back(forest(rng, n, chain));
  for (const words &p : cases) {
    const std::size_t n = p.size();
    if (!std::all_of(p.begin(), p.end(), [&](std::uint32_t v) { return v < n || v == n + 1; }))
      continue;
    words want = p;
    const bool ok = cleave_model(want);
    harness::result r = harness::call("tree_cleave", 1, {row(p).get()});
    ASSERT_EQ(r.ok(), ok) << n << " " << r.message();
    if (ok) {
      EXPECT_EQ(harness::words(r.out(0)), want) << n;
    }
  }
}

TEST(hierarchy, relabel_sets_takes_any_entries)
{
  std::mt19937_64 rng(14);
  for (const words &g : adversarial(rng)) {
    harness::ptr A = weights(rng, g.size(), 3);
    harness::ptr G = harness::uint32s(g.size(), 1, g);
    harness::result r = harness::call("relabel_sets", 2, {A.get(), G.get()});
    ASSERT_TRUE(r.ok()) << r.message();
    const words q = harness::words(r.out(0));
    ASSERT_EQ(q.size(), g.size());
    for (std::size_t v = 0; v < g.size(); ++v)
      EXPECT_TRUE(q[v] == g[v] || q[v] == v);
    EXPECT_EQ(harness::dims(r.out(1)), (std::vector<std::size_t>{g.size(), 1}));
  }
}

// Random matrices with stored zeros, NaN and negative values: every
// strongest neighbour is a row of a positive stored value of its column,
// or n+1; the same with a second matrix of any pattern but A's count.
TEST(hierarchy, heavy_edge_on_random_matrices)
{
  std::mt19937_64 rng(15);
  for (std::size_t n : {0u, 1u, 9u, 200u}) {
    harness::ptr A = weights(rng, n, 4);
    harness::ptr B = weights(rng, n, 4);
    const std::size_t na = mxGetJc(A.get())[n], nb = mxGetJc(B.get())[n];
    for (int nlhs = 1; nlhs <= 3; ++nlhs) {
      harness::result r = harness::call("heavy_edge", nlhs, {A.get()});
      ASSERT_TRUE(r.ok()) << r.message();
      const words p = harness::words(r.out(0));
      const mwIndex *jc = mxGetJc(A.get()), *ir = mxGetIr(A.get());
      const double *a = mxGetPr(A.get());
      for (std::size_t i = 0; i < n; ++i) {
        if (p[i] == n + 1)
          continue;
        bool found = false;
        for (std::size_t k = jc[i]; k < jc[i + 1]; ++k)
          found = found || (ir[k] == p[i] && a[k] > 0);
        EXPECT_TRUE(found) << "column " << i;
      }
    }
    harness::result r = harness::call("heavy_edge", 3, {A.get(), B.get()});
    if (na == nb)
      EXPECT_TRUE(r.ok()) << r.message();
    else
      EXPECT_EQ(r.message(), "Matrices must have the same number of stored entries");
  }
}

// A stored zero never wins, and the first of equal largest values does.
TEST(hierarchy, heavy_edge_stored_zeros_and_ties)
{
  harness::ptr A = harness::sparse(3, 3, {{0, 0, 0.0}, {1, 0, 0.0}, {0, 1, 2}, {2, 1, 2}});
  harness::result r = harness::call("heavy_edge", 3, {A.get()});
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(harness::words(r.out(0)), (words{4, 0, 4}));
  EXPECT_EQ(harness::doubles(r.out(2)), (std::vector<double>{0, 2, 0}));
}

// Sparse logical matrices store bytes, not doubles: refused.
TEST(hierarchy, logical_matrices_are_refused)
{
  harness::ptr L = harness::sparse(2, 2, {{0, 1, 1}, {1, 0, 1}}, true);
  harness::ptr D = harness::sparse(2, 2, {{0, 1, 1}, {1, 0, 1}});
  harness::ptr G = row({1, 0});
  const char *text = "Sparse matrix must be of class double";
  EXPECT_EQ(harness::call("heavy_edge", 1, {L.get()}).message(), text);
  EXPECT_EQ(harness::call("heavy_edge", 1, {D.get(), L.get()}).message(), text);
  EXPECT_EQ(harness::call("relabel_sets", 2, {L.get(), G.get()}).message(), text);
  harness::ptr mask = harness::sparse(3, 1, {{1, 0, 1}}, true);
  EXPECT_EQ(harness::call("mask_enumerate", 1, {mask.get()}).message(),
            "Input must be a full boolean vector");
}

// Every creation and host allocation of a call, failed in turn: the call
// reports memory exhaustion and the host finds nothing left behind, until
// the call has all it needs.
TEST(hierarchy, allocation_failures_release_everything)
{
  std::mt19937_64 rng(16);
  words deep(450);
  for (std::uint32_t i = 0; i < deep.size(); ++i)
    deep[i] = i + 1 < deep.size() ? i + 1 : i;
  harness::ptr P = row(deep);
  harness::ptr F = row(forest(rng, 500, 90));
  harness::ptr A = weights(rng, 500, 3);
  harness::ptr G = row(forest(rng, 500, 50));
  harness::ptr mask = harness::logicals(1, 4, {true, false, true, true});
  struct cse {
    const char *module;
    int nlhs;
    std::vector<const mxArray *> in;
  };
  const std::vector<cse> cases = {{"heavy_edge", 3, {A.get()}}, {"heavy_edge", 1, {A.get(), A.get()}},
                                  {"tree_tags", 3, {P.get()}},  {"tree_tags", 1, {P.get()}},
                                  {"tree_cleave", 1, {F.get()}}, {"relabel_sets", 2, {A.get(), G.get()}},
                                  {"mask_enumerate", 1, {mask.get()}}};
  for (const cse &c : cases) {
    long k = 0;
    for (;; ++k) {
      khost::fail_allocation(k);
      harness::result r = harness::call(c.module, c.nlhs, c.in);
      if (r.ok())
        break;
      EXPECT_TRUE(known(r.message(), {"Unsufficient memory", "Out of memory"}))
          << c.module << ": " << r.message();
    }
    EXPECT_GT(k, 0) << c.module;
  }
}

// Outputs the caller did not ask for are released, none is written past
// the output list, and the labels come back even with no output requested.
TEST(hierarchy, outputs_beyond_the_request_are_released)
{
  harness::ptr A = harness::sparse(3, 3, {{1, 0, 2}, {0, 1, 2}, {2, 1, 1}, {1, 2, 1}});
  for (int nlhs = 1; nlhs <= 3; ++nlhs) {
    harness::result r = harness::call("heavy_edge", nlhs, {A.get()});
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(harness::words(r.out(0)), (words{1, 0, 1}));
  }
  EXPECT_EQ(harness::call("heavy_edge", 0, {A.get()}).message(), "Wrong number of output arguments");
  harness::ptr P = row({1, 0, 2});
  harness::result r = harness::call("tree_tags", 0, {P.get()});
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(harness::words(r.out(0)), (words{1, 1, 2}));
}

// Sizes that disagree and matrices that are not square are refused before
// anything indexes past an array.
TEST(hierarchy, relabel_sets_refuses_disagreeing_sizes)
{
  harness::ptr square = harness::sparse(3, 3, {{2, 0, 1}, {0, 2, 1}});
  harness::ptr wide = harness::sparse(2, 3, {{1, 2, 1}});
  harness::ptr g3 = row({2, 4, 0}), g2 = row({1, 0});
  EXPECT_EQ(harness::call("relabel_sets", 2, {wide.get(), g3.get()}).message(),
            "First input must be a square matrix");
  EXPECT_EQ(harness::call("relabel_sets", 2, {square.get(), g2.get()}).message(),
            "Second input must have one entry per column of the first");
}
