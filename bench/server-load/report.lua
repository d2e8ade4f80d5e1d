-- Installation reports, each from an address of its own, read from the file named by REPORTS (one
-- "address check" pair a line). Thread i of n takes lines i, i + n, ... in order; what each thread sent and
-- got back is printed at the end, for the database check that follows.
local threads = {}
local count = 0

function setup(thread)
  thread:set("index", count)
  table.insert(threads, thread)
  count = count + 1
end

function init(args)
  pairs_ = {}
  local n = 0
  local step = tonumber(os.getenv("WRK_THREADS"))
  local line_no = 0
  for line in io.lines(os.getenv("REPORTS")) do
    if line_no % step == index then
      n = n + 1
      pairs_[n] = line
    end
    line_no = line_no + 1
  end
  total_ = n
  next_ = 0
  sent = 0
  accepted = 0
  other = 0
end

function request()
  next_ = next_ + 1
  if next_ > total_ then
    -- Out of fresh addresses: repeat the last one, which the check below accounts for.
    next_ = total_
    wrapped = 1
  end
  local address, check = pairs_[next_]:match("(%S+) (%S+)")
  sent = sent + 1
  return wrk.format("POST", "/pm/sd_mgr/pts/web/pm_usage.php?p_id=2&macAdd=" .. address .. "&chk=" .. check)
end

function response(status, headers, body)
  if status == 200 then accepted = accepted + 1 else other = other + 1 end
end

function done(summary, latency, requests)
  for _, thread in ipairs(threads) do
    io.write(string.format("thread %d sent %d accepted %d refused %d wrapped %d\n", thread:get("index"),
      thread:get("sent"), thread:get("accepted"), thread:get("other"), thread:get("wrapped") or 0))
  end
end
