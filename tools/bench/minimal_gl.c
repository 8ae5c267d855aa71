/* The yardstick for start-up: the least an SDL2 program does to show an
 * OpenGL frame (video, a 640x480 window, a context, a clear and a swap),
 * then it swaps on until a termination request. The bench launches it
 * beside the real program, with the same probe, in the same set-up. */
#include <SDL.h>
#include <SDL_opengl.h>

int main(void) {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_Window* window = SDL_CreateWindow("minimal", 0, 0, 640, 480,
                                        SDL_WINDOW_OPENGL | SDL_WINDOW_BORDERLESS);
  SDL_GLContext context = window ? SDL_GL_CreateContext(window) : NULL;
  if (!context) return 1;
  for (int running = 1; running;) {
    SDL_Event event;
    while (SDL_PollEvent(&event))
      if (event.type == SDL_QUIT) running = 0;
    glClearColor(0.2f, 0.3f, 0.8f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    SDL_GL_SwapWindow(window);
  }
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
