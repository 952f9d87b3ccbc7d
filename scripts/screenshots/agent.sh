# The reminder agent on its first launch: no reminder stored yet, so it shows one at once.
home=$(mktemp -d)
(
  export HOME="$home" XDG_CONFIG_HOME="$home/.config"
  "$BUILD/Ostrova.app/Contents/Library/LoginItems/agent.app/Contents/MacOS/agent" &
  agent=$!
  sleep 2
  grab "$OUT/agent-reminder.png"
  kill "$agent"
  wait "$agent" 2>/dev/null || true
)
rm -rf "$home"

# The panel offering what an application dragged to the Trash left, light and dark, over the demo
# Mac (below the first launch's reminder, as it comes).
for appearance in light dark; do
  (
    demo_env
    OSTROVA_APPEARANCE=$appearance "$BUILD/Ostrova.app/Contents/Library/LoginItems/agent.app/Contents/MacOS/agent" &
    agent=$!
    sleep 2
    mv "$OSTROVA_ROOT/Applications/Lumen Notes.app" "$HOME/.Trash/"
    for _ in $(seq 50); do
      xdotool search --onlyvisible --name "left .* behind" >/dev/null 2>&1 && break
      sleep 0.1
    done
    sleep 0.6
    grab "$OUT/agent-remains-$appearance.png"
    kill "$agent"
    wait "$agent" 2>/dev/null || true
  )
done
