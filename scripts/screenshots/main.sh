# The main window over the demo Mac: the application list and the remains of removed
# applications, light and dark.
demo_env
for appearance in light dark; do
  OSTROVA_APPEARANCE=$appearance "$BUILD/bin/ostrova-screens" "$OUT" list remains
done
