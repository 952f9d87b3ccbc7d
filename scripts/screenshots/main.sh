# The main window over the demo Mac: the application list, light and dark.
demo_env
for appearance in light dark; do
  OSTROVA_APPEARANCE=$appearance "$BUILD/bin/ostrova-screens" "$OUT" list
done
