# The reminder agent on its first launch: no reminder stored yet, so it shows one at once.
home=$(mktemp -d)
export HOME="$home" XDG_CONFIG_HOME="$home/.config"
"$BUILD/Ostrova.app/Contents/Library/LoginItems/agent.app/Contents/MacOS/agent" &
agent=$!
sleep 2
grab "$OUT/agent-reminder.png"
kill "$agent"
wait "$agent" 2>/dev/null || true
rm -rf "$home"
