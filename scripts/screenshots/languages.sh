# The list, the confirmation sheet, the uninstalling, leftovers and completed screens, and the agent's
# panel, in every language Ostrova speaks (light), each over a fresh demo Mac. English dark is in
# main.sh, flow.sh and agent.sh.
for language in en de fr es ja zh_CN; do
  (
    demo_env
    export OSTROVA_LANGUAGE=$language
    "$BUILD/bin/ostrova-screens" "$OUT" list
    OSTROVA_LAUNCHCTL=/bin/false "$BUILD/bin/ostrova-screens" "$OUT" flow
  )
  (
    demo_env
    export OSTROVA_LANGUAGE=$language
    "$BUILD/Ostrova.app/Contents/Library/LoginItems/agent.app/Contents/MacOS/agent" &
    agent=$!
    sleep 2
    mv "$OSTROVA_ROOT/Applications/Lumen Notes.app" "$HOME/.Trash/"
    # The panel's title is its headline, which names the application in every language.
    for _ in $(seq 100); do
      xdotool search --onlyvisible --name "Lumen Notes" >/dev/null 2>&1 && break
      sleep 0.1
    done
    sleep 0.6
    grab "$OUT/agent-remains-$language-light.png"
    kill "$agent"
    wait "$agent" 2>/dev/null || true
  )
done
