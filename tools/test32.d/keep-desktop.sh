# Sourced by the guest's job scripts after guest-env.sh.
# Starts the desktop keeper (see desktop-keeper.c) until it reports a working desktop.
keep_desktop() {
  tries=0
  while [ $tries -lt 5 ]; do
    "$wine" /job/desktop-keeper.exe >/tmp/keeper.out 2>/dev/null &
    keeper=$!
    waited=0
    while [ $waited -lt 90 ] && kill -0 $keeper 2>/dev/null; do
      if grep -q ready /tmp/keeper.out; then
        echo "job: Wine's desktop is up"
        return 0
      fi
      sleep 1
      waited=$((waited + 1))
    done
    kill $keeper 2>/dev/null
    tries=$((tries + 1))
  done
  echo "job: Wine's desktop did not come up"
}
